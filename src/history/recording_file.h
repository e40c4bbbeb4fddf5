#pragma once

#include "history/engine_history.h"

#include <QList>
#include <QString>

class QFile;

// A recording file read back for a look after the session: its rows become the samples the
// chart window draws, in the same store the live session fills, so a day read from a file
// costs what a day polled does.
class RecordingFile {
public:
    // Reads the whole file at once. A row that cannot be read is skipped and noted; a file that
    // does not start with the recording's header is refused whole.
    explicit RecordingFile(const QString& path);

    QString path() const { return file_path; }
    // Why nothing of the file is shown, in Russian; empty when it was read.
    QString refusal() const { return refusal_text; }
    const EngineHistory& history() const { return samples; }
    // What was left out, in one message; empty when every row is shown.
    QString omissions() const;

private:
    void readRows(QFile& file);

    QString file_path;
    QString refusal_text;
    EngineHistory samples;
    int rows_read = 0;
    int unread_count = 0;
    QList<int> first_unread; // line numbers, the first few
};

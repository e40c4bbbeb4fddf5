#pragma once

#include "disk/csv_file_reader.h"
#include "history/engine_history.h"

#include <QString>

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
    QString refusal() const { return outcome.refusal; }
    const EngineHistory& history() const { return samples; }
    // What was left out, in one message; empty when every row is shown.
    QString omissions() const;

private:
    QString file_path;
    CsvReadOutcome outcome;
    EngineHistory samples;
};

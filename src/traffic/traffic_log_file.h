#pragma once

#include "traffic/traffic_rows.h"

#include <QByteArray>
#include <QFile>
#include <QString>

// The traffic log: UTF-8 text for spreadsheets, appended to; a new (or empty) file starts with
// the mark and the header. Lines are kept in memory until flush(), so the exchange never waits
// on the disk.
class TrafficLogFile {
public:
    // False, with error() telling why, when the file cannot be opened for appending.
    bool open(const QString& path);
    bool isOpen() const { return file.isOpen(); }
    QString fileName() const { return file.fileName(); }
    void append(const TrafficRow& row);
    // Writes what was appended. On a failed write the file is closed, nothing more is kept, and
    // false is returned once; error() tells why.
    bool flush();
    void close();
    QString error() const { return error_text; }

private:
    bool fail();

    QFile file;
    QByteArray buffer;
    QString error_text;
};

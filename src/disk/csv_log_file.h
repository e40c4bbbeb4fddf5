#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

// How every file of ours meant for spreadsheets starts: the UTF-8 byte-order mark, so that
// spreadsheets read the Cyrillic right, and the header line.
QByteArray CsvFileStart(const QString& header);
// Local time as such files write it: "YYYY-MM-DD HH:MM:SS.mmm", in the first column, headed
// alike in every file and in the tables of the windows.
QString CsvTime(std::int64_t wallMs);
// The time CsvTime wrote, back in milliseconds since the epoch; none for any other text. Local
// time is turned into the epoch's once for each hour of the file: each turn asks the system for
// its time zone, which made reading a day's log take a minute.
class CsvTimeReader {
public:
    std::optional<std::int64_t> operator()(QStringView text);

private:
    QString hour; // "YYYY-MM-DD HH" of hour_ms
    std::int64_t hour_ms = 0;
};
inline const QString kTimeColumn = QStringLiteral("Время");

// A spreadsheet file that lines are appended to (the traffic log, the recording, the journal);
// a new (or empty) file starts with CsvFileStart. Lines are kept in memory until flush(), so the
// exchange never waits on the disk.
class CsvLogFile {
public:
    // False, with error() telling why, when the file cannot be opened for appending.
    bool open(const QString& path, const QString& header);
    bool isOpen() const { return file.isOpen(); }
    QString fileName() const { return file.fileName(); }
    void append(const QString& line);
    // Writes what was appended. On a failed write the file is closed, nothing more is kept, and
    // false is returned once; error() tells why.
    bool flush();
    void close();
    // Why the file failed, in Russian, without the file's name (FileFailureReason).
    QString error() const { return error_text; }

private:
    bool fail();

    QFile file;
    QByteArray buffer;
    QString error_text;
};

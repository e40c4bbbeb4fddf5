#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <functional>

// What came of reading back a spreadsheet file of ours (the traffic log, the journal).
struct CsvReadOutcome {
    // Why the file was not read at all, in Russian, its name first; empty when it was.
    QString refusal;
    int read = 0;
    int unread = 0;
    // The numbers, in the file, of the first lines that could not be read (at most kNamedLines).
    QList<int> first_unread;
    static constexpr int kNamedLines = 5;

    // One message for the lines that could not be read, naming the first of them; empty when
    // every line was read.
    QString unreadText() const;
};

// Reads a file that CsvLogFile wrote, line by line, so a log of a whole day never sits in memory
// as text: `take` gets each line after the header (without its line end; empty lines skipped)
// and says whether it could read it. A file whose first line is not `header` is another kind of
// file and is refused, named as what was expected (`kind`: «журнал обмена»).
CsvReadOutcome ReadCsvFile(const QString& path, const QString& header, const QString& kind,
                           const std::function<bool(QStringView line)>& take);

// The line's first `count` fields separated by ";", the last holding the rest of the line (an
// event's text may hold a ";" of its own); fewer when the line has fewer.
QList<QStringView> CsvFields(QStringView line, int count);

#pragma once

#include "disk/csv_log_file.h"
#include "history/journal_entry.h"

#include <QString>
#include <QStringList>
#include <deque>

// "Время;Событие" of one entry, as the journal file and a saved table hold it.
QString JournalLine(const JournalEntry& entry);

// The journal of the session: every entry is kept in memory for the window (the last 100,000)
// and appended to the journal file, either the one file the user named or one file a day in a
// folder. The file is written by flush(), never while the exchange waits.
class EventJournal {
public:
    static constexpr int kMaxEntries = 100000;
    // The journal window's columns, and the header of the files.
    static inline const QStringList kColumns{kTimeColumn, QStringLiteral("Событие")};
    static inline const QString kHeader = kColumns.join(QLatin1Char(';'));

    // All entries go to this one file, opened now, so that a file that cannot be written is
    // known at start. False, with error() telling why, when it cannot be opened; the journal
    // then stays in memory only, and flush() does not report it again.
    bool useFile(const QString& path);
    // Entries go to <folder>/YYYY-MM-DD.csv by the day they happened.
    void useDailyFiles(const QString& folder);

    void add(const JournalEntry& entry);
    const std::deque<JournalEntry>& entries() const { return kept; }
    // How many entries were ever added, so a viewer tells new ones from dropped ones.
    std::int64_t added() const { return added_count; }

    // False once, with error() telling why, when the file could not be opened or written; the
    // journal then stays in memory only.
    bool flush();
    QString fileName() const { return file.fileName(); }
    QString error() const { return error_text; }

private:
    void openFor(std::int64_t wallMs);
    void fail(const QString& path);

    std::deque<JournalEntry> kept;
    std::int64_t added_count = 0;
    CsvLogFile file;
    QString fixed_path;
    QString daily_folder;
    QString open_day;
    QString error_text;
    bool failed = false;
    bool error_told = true;
};

#include "history/event_journal.h"

#include "text/file_failure.h"

#include <QDateTime>
#include <QDir>

QString JournalLine(const JournalEntry& entry) {
    return CsvTime(entry.wall_ms) + QLatin1Char(';') + entry.text;
}

void EventJournal::useFile(const QString& path) {
    fixed_path = path;
    daily_folder.clear();
}

void EventJournal::useDailyFiles(const QString& folder) {
    daily_folder = folder;
    fixed_path.clear();
}

void EventJournal::add(const JournalEntry& entry) {
    kept.push_back(entry);
    if (static_cast<int>(kept.size()) > kMaxEntries)
        kept.pop_front();
    ++added_count;
    if (failed)
        return;
    openFor(entry.wall_ms);
    file.append(JournalLine(entry));
}

void EventJournal::openFor(std::int64_t wallMs) {
    QString path = fixed_path;
    if (!daily_folder.isEmpty()) {
        const QString day =
            QDateTime::fromMSecsSinceEpoch(wallMs).toString(QStringLiteral("yyyy-MM-dd"));
        if (file.isOpen() && day == open_day)
            return;
        open_day = day;
        QDir().mkpath(daily_folder);
        path = QDir(daily_folder).filePath(day + QStringLiteral(".csv"));
    }
    if (path.isEmpty() || (file.isOpen() && file.fileName() == path))
        return;
    // The lines of the day before go to the day before's file.
    if (file.isOpen() && !file.flush())
        return fail(file.fileName());
    if (!file.open(path, kHeader))
        fail(path);
}

bool EventJournal::flush() {
    if (!failed && !file.flush())
        fail(file.fileName());
    if (error_told)
        return true;
    error_told = true;
    return false;
}

void EventJournal::fail(const QString& path) {
    failed = true;
    error_text = FileFailure(path, file.error());
    error_told = false;
}

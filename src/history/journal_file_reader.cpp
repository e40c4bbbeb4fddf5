#include "history/journal_file_reader.h"

#include "history/journal_kinds.h"

CsvReadOutcome ReadJournalFile(const QString& path, EventJournal& journal) {
    CsvTimeReader timeOf;
    return ReadCsvFile(path, EventJournal::kHeader, QStringLiteral("журнал событий"),
                       [&journal, &timeOf](QStringView line) {
                           const QList<QStringView> fields = CsvFields(line, 2);
                           const std::optional<std::int64_t> time = timeOf(fields[0]);
                           if (fields.size() < 2 || !time)
                               return false;
                           const QString text = fields[1].toString();
                           journal.add({*time, KindOfJournalText(text), text});
                           return true;
                       });
}

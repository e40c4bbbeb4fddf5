#include "history/journal_rows.h"

#include <algorithm>

JournalRows::JournalRows(const EventJournal& journal, QObject* parent)
    : QAbstractTableModel(parent), journal(journal) {}

QStringList JournalRows::filterNames() {
    return {QStringLiteral("Все события"),
            QStringLiteral("Сигналы"),
            QStringLiteral("Индикаторы"),
            QStringLiteral("Аварии и неисправности"),
            QStringLiteral("Управление и тип объекта"),
            QStringLiteral("Связь"),
            QStringLiteral("Команды"),
            QStringLiteral("Параметры")};
}

void JournalRows::setKind(std::optional<JournalKind> newKind) {
    kind = newKind;
    beginResetModel();
    shown.clear();
    const std::int64_t first = firstKept();
    const auto& entries = journal.entries();
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (passes(entries[i]))
            shown.push_back(first + static_cast<std::int64_t>(i));
    taken = journal.added();
    endResetModel();
}

void JournalRows::refresh() {
    // Past 100,000 entries the oldest leave the journal, and their rows the top of the table.
    const std::int64_t first = firstKept();
    const auto gone = std::lower_bound(shown.begin(), shown.end(), first) - shown.begin();
    if (gone > 0) {
        beginRemoveRows({}, 0, static_cast<int>(gone) - 1);
        shown.erase(shown.begin(), shown.begin() + gone);
        endRemoveRows();
    }
    const auto& entries = journal.entries();
    std::vector<std::int64_t> added;
    for (std::int64_t n = std::max(taken, first); n < journal.added(); ++n)
        if (passes(entries[static_cast<std::size_t>(n - first)]))
            added.push_back(n);
    taken = journal.added();
    if (added.empty())
        return;
    beginInsertRows({}, rowCount(), rowCount() + static_cast<int>(added.size()) - 1);
    shown.insert(shown.end(), added.begin(), added.end());
    endInsertRows();
}

std::int64_t JournalRows::firstKept() const {
    return journal.added() - static_cast<std::int64_t>(journal.entries().size());
}

const JournalEntry* JournalRows::entry(int row) const {
    const std::int64_t at = shown[static_cast<std::size_t>(row)] - firstKept();
    return at >= 0 ? &journal.entries()[static_cast<std::size_t>(at)] : nullptr;
}

QByteArray JournalRows::fileText() const {
    QByteArray text = CsvFileStart(EventJournal::kHeader);
    for (int row = 0; row < rowCount(); ++row)
        if (const JournalEntry* e = entry(row))
            text += JournalLine(*e).toUtf8() + "\r\n";
    return text;
}

int JournalRows::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown.size());
}

int JournalRows::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant JournalRows::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    const JournalEntry* e = entry(index.row());
    if (!e)
        return {};
    return index.column() == 0 ? CsvTime(e->wall_ms) : e->text;
}

QVariant JournalRows::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return EventJournal::kColumns.value(section);
}

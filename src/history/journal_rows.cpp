#include "history/journal_rows.h"

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
    taken = journal.added();
    dropped = taken - static_cast<std::int64_t>(journal.entries().size());
    beginResetModel();
    shown.clear();
    for (const JournalEntry& e : journal.entries())
        if (passes(e))
            shown.push_back(&e);
    endResetModel();
}

void JournalRows::refresh() {
    const auto& entries = journal.entries();
    const std::int64_t nowDropped = journal.added() - static_cast<std::int64_t>(entries.size());
    // Entries left the journal since the last look: the rows pointing at them go too. That
    // happens only past 100,000 entries, so the whole table is built again.
    if (nowDropped != dropped)
        return setKind(kind);
    const auto fresh = static_cast<std::size_t>(journal.added() - taken);
    taken = journal.added();
    std::vector<const JournalEntry*> added;
    for (std::size_t i = entries.size() - fresh; i < entries.size(); ++i)
        if (passes(entries[i]))
            added.push_back(&entries[i]);
    if (added.empty())
        return;
    beginInsertRows({}, rowCount(), rowCount() + static_cast<int>(added.size()) - 1);
    shown.insert(shown.end(), added.begin(), added.end());
    endInsertRows();
}

QByteArray JournalRows::fileText() const {
    QByteArray text = CsvFileStart(EventJournal::kHeader);
    for (const JournalEntry* e : shown)
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
    const JournalEntry& e = entry(index.row());
    return index.column() == 0 ? CsvTime(e.wall_ms) : e.text;
}

QVariant JournalRows::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return section == 0 ? QStringLiteral("Время") : QStringLiteral("Событие");
}

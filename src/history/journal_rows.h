#pragma once

#include "history/event_journal.h"

#include <QAbstractTableModel>
#include <deque>
#include <optional>

// The journal as the window's table: time and event, oldest first, all kinds or one. It takes
// new entries when refreshed (once a second), so a burst of lines costs one repaint.
class JournalRows : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit JournalRows(const EventJournal& journal, QObject* parent = nullptr);

    // The filter's choices: "Все события", then one per kind, in the order of JournalKind.
    static QStringList filterNames();
    // Empty shows every kind.
    void setKind(std::optional<JournalKind> kind);
    void refresh();

    // The rows shown, as a spreadsheet file holds them.
    QByteArray fileText() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    bool passes(const JournalEntry& entry) const { return !kind || entry.kind == *kind; }
    // Null once the journal has dropped the entry; the row goes at the next refresh.
    const JournalEntry* entry(int row) const;
    std::int64_t firstKept() const;

    const EventJournal& journal;
    std::optional<JournalKind> kind;
    // Each row is an entry's number among all ever added, never its address: the journal drops
    // its oldest entries at once past its limit, and a repaint may come before the next refresh.
    std::deque<std::int64_t> shown;
    std::int64_t taken = 0;
};

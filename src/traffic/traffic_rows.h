#pragma once

#include "link/link_event.h"

#include <QAbstractTableModel>
#include <QString>
#include <deque>

// One row of the traffic monitor and one line of its log file.
struct TrafficRow {
    QString time;      // local, "YYYY-MM-DD HH:MM:SS.mmm"
    QString direction; // ">" or "<"
    QString bytes;     // upper-case hex pairs, blank-separated
    QString outcome; // "", "повтор", "ОК", "Несовпадение КС", "Нет ответа", "Исключение N"
    QString description;     // the frame in the controller's terms
    bool background = false; // the poll, the transaction write, or an answer to one of them
};

namespace traffic_text {
inline const QString kLogHeader = QStringLiteral("Время;Направление;Кадр;Результат;Расшифровка");
QString OutcomeText(const LinkEvent& event);
QString LogLine(const TrafficRow& row);
} // namespace traffic_text

// The rows of the monitor, at most 10,000, the oldest dropped. Rows arrive at the pace of the
// line; the view takes them in batches (flush), so a repaint never waits on a tick.
class TrafficRows : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kMaxRows = 10000;
    enum Column { TimeColumn, DirectionColumn, BytesColumn, OutcomeColumn, DescriptionColumn };
    static constexpr int kBackgroundRole = Qt::UserRole;

    // Held until the next flush; never more than the table could show, with no view flushing.
    void append(TrafficRow row);
    // Moves the rows that arrived since the last flush into the table.
    void flush();
    void clear();
    const TrafficRow& row(int index) const { return rows[index]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::deque<TrafficRow> rows;
    std::deque<TrafficRow> pending;
};

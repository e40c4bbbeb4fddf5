#pragma once

#include "disk/csv_log_file.h"
#include "link/link_event.h"

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <deque>

// One row of the traffic monitor and one line of its log file.
struct TrafficRow {
    QString time;      // local, "YYYY-MM-DD HH:MM:SS.mmm"
    QString direction; // ">" or "<"
    QByteArray bytes;  // as on the line; shown as upper-case hex pairs (a third of the memory)
    QString outcome; // "", "повтор", "ОК", "Несовпадение КС", "Нет ответа", "Исключение N"
    QString description;     // the frame in the controller's terms
    bool background = false; // the poll, the transaction write, or an answer to one of them
};

namespace traffic_text {
// The monitor's columns, and the header of the log file and of a saved table.
inline const QStringList kColumns{kTimeColumn, QStringLiteral("Направление"),
                                  QStringLiteral("Кадр"), QStringLiteral("Результат"),
                                  QStringLiteral("Расшифровка")};
inline const QString kLogHeader = kColumns.join(QLatin1Char(';'));
QString OutcomeText(const LinkEvent& event);
QString HexText(const QByteArray& bytes);
QString LogLine(const TrafficRow& row);
} // namespace traffic_text

// The rows of the monitor, at most 10,000 (a log file opened: more), the oldest dropped; the table
// shows them all or, with the filter, all but the background ones. Rows arrive at the pace of the
// line; the view takes them in batches (flush), so a repaint never waits on a tick.
class TrafficRows : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kMaxRows = 10000;
    enum Column { TimeColumn, DirectionColumn, BytesColumn, OutcomeColumn, DescriptionColumn };
    // A longer frame shows its first bytes and its CRC in the table (laying out all 255 bytes
    // on every repaint costs more than the exchange); the tooltip, the log and a saved file
    // hold them all.
    static constexpr int kShownBytes = 48;

    explicit TrafficRows(int maxRows = kMaxRows) : max_rows(maxRows) {}

    // Held until the next flush; never more than the table could show, with no view flushing.
    void append(TrafficRow row);
    // Moves the rows that arrived since the last flush into the table.
    void flush();
    void clear();
    // Hides the poll, the transaction write and their answers (so the rest stands out).
    void setHideBackground(bool hide);
    // Row `index` of the table as shown.
    const TrafficRow& row(int index) const { return rows[shown[index] - first_seq]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void showFrom(long long seq);

    std::deque<TrafficRow> rows;
    std::deque<TrafficRow> pending;
    // Sequence numbers of the rows shown; rows[0] has first_seq.
    std::deque<long long> shown;
    long long first_seq = 0;
    bool hide_background = false;
    int max_rows;
};

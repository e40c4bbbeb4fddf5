#include "traffic/traffic_rows.h"

#include <QStringList>
#include <algorithm>

QString traffic_text::OutcomeText(const LinkEvent& event) {
    switch (event.outcome) {
    case LinkOutcome::FirstSend:
        return {};
    case LinkOutcome::Repeat:
        return QStringLiteral("повтор");
    case LinkOutcome::Ok:
        return QStringLiteral("ОК");
    case LinkOutcome::Exception:
        return QStringLiteral("Исключение %1")
            .arg(event.bytes.size() > 2 ? static_cast<std::uint8_t>(event.bytes[2]) : 0);
    case LinkOutcome::CrcMismatch:
        return QStringLiteral("Несовпадение КС");
    case LinkOutcome::NoAnswer:
        return QStringLiteral("Нет ответа");
    }
    return {};
}

QString traffic_text::HexText(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QString traffic_text::LogLine(const TrafficRow& row) {
    return QStringList{row.time, row.direction, HexText(row.bytes), row.outcome, row.description}
        .join(QLatin1Char(';'));
}

void TrafficRows::append(TrafficRow row) {
    pending.push_back(std::move(row));
    if (static_cast<int>(pending.size()) > max_rows)
        pending.pop_front();
}

void TrafficRows::flush() {
    if (pending.empty())
        return;
    const long long firstNew = first_seq + static_cast<long long>(rows.size());
    std::move(pending.begin(), pending.end(), std::back_inserter(rows));
    pending.clear();
    if (const auto drop = static_cast<long long>(rows.size()) - max_rows; drop > 0) {
        rows.erase(rows.begin(), rows.begin() + drop);
        first_seq += drop;
        const auto gone = std::find_if(shown.begin(), shown.end(),
                                       [this](long long seq) { return seq >= first_seq; });
        if (gone != shown.begin()) {
            beginRemoveRows({}, 0, static_cast<int>(gone - shown.begin()) - 1);
            shown.erase(shown.begin(), gone);
            endRemoveRows();
        }
    }
    showFrom(std::max(firstNew, first_seq));
}

void TrafficRows::showFrom(long long seq) {
    std::vector<long long> added;
    for (; seq < first_seq + static_cast<long long>(rows.size()); ++seq)
        if (!hide_background || !rows[seq - first_seq].background)
            added.push_back(seq);
    if (added.empty())
        return;
    const int first = static_cast<int>(shown.size());
    beginInsertRows({}, first, first + static_cast<int>(added.size()) - 1);
    shown.insert(shown.end(), added.begin(), added.end());
    endInsertRows();
}

void TrafficRows::clear() {
    beginResetModel();
    first_seq += static_cast<long long>(rows.size());
    rows.clear();
    pending.clear();
    shown.clear();
    endResetModel();
}

void TrafficRows::setHideBackground(bool hide) {
    hide_background = hide;
    beginResetModel();
    shown.clear();
    endResetModel();
    showFrom(first_seq);
}

int TrafficRows::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown.size());
}

int TrafficRows::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 5;
}

QVariant TrafficRows::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(shown.size()))
        return {};
    const TrafficRow& r = row(index.row());
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case TimeColumn:
        return r.time;
    case DirectionColumn:
        return r.direction;
    case BytesColumn:
        return role == Qt::ToolTipRole || r.bytes.size() <= kShownBytes
                   ? traffic_text::HexText(r.bytes)
                   : traffic_text::HexText(r.bytes.first(kShownBytes - 2)) + QStringLiteral(" … ") +
                         traffic_text::HexText(r.bytes.last(2));
    case OutcomeColumn:
        return r.outcome;
    default:
        return r.description;
    }
}

QVariant TrafficRows::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return traffic_text::kColumns.value(section);
}

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

QString traffic_text::LogLine(const TrafficRow& row) {
    return QStringList{row.time, row.direction, row.bytes, row.outcome, row.description}.join(
        QLatin1Char(';'));
}

void TrafficRows::append(TrafficRow row) {
    pending.push_back(std::move(row));
    if (static_cast<int>(pending.size()) > kMaxRows)
        pending.pop_front();
}

void TrafficRows::flush() {
    if (pending.empty())
        return;
    const int drop = std::max(0, static_cast<int>(rows.size() + pending.size()) - kMaxRows);
    if (drop > 0) {
        beginRemoveRows({}, 0, drop - 1);
        rows.erase(rows.begin(), rows.begin() + drop);
        endRemoveRows();
    }
    const int first = static_cast<int>(rows.size());
    beginInsertRows({}, first, first + static_cast<int>(pending.size()) - 1);
    std::move(pending.begin(), pending.end(), std::back_inserter(rows));
    pending.clear();
    endInsertRows();
}

void TrafficRows::clear() {
    beginResetModel();
    rows.clear();
    pending.clear();
    endResetModel();
}

int TrafficRows::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows.size());
}

int TrafficRows::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 5;
}

QVariant TrafficRows::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(rows.size()))
        return {};
    const TrafficRow& r = rows[index.row()];
    if (role == kBackgroundRole)
        return r.background;
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case TimeColumn:
        return r.time;
    case DirectionColumn:
        return r.direction;
    case BytesColumn:
        return r.bytes;
    case OutcomeColumn:
        return r.outcome;
    default:
        return r.description;
    }
}

QVariant TrafficRows::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const QStringList kHeaders{QStringLiteral("Время"), QStringLiteral("Направление"),
                                      QStringLiteral("Кадр"), QStringLiteral("Результат"),
                                      QStringLiteral("Расшифровка")};
    return kHeaders.value(section);
}

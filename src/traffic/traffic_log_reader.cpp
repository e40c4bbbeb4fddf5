#include "traffic/traffic_log_reader.h"

#include <array>

namespace {
const std::array kOutcomes{LinkOutcome::FirstSend, LinkOutcome::Repeat,      LinkOutcome::Ok,
                           LinkOutcome::Exception, LinkOutcome::CrcMismatch, LinkOutcome::NoAnswer};

// The outcome whose text the monitor wrote for these bytes in this direction; the texts are
// the monitor's own, so a file reads back exactly as it was written.
std::optional<LinkOutcome> outcomeOf(QStringView text, const LinkEvent& event) {
    for (LinkOutcome outcome : kOutcomes) {
        const bool sent = outcome == LinkOutcome::FirstSend || outcome == LinkOutcome::Repeat;
        if (sent == event.sent &&
            traffic_text::OutcomeText({0, event.sent, event.bytes, outcome}) == text)
            return outcome;
    }
    return std::nullopt;
}

// The event a row of the log was written from; none for a row the monitor could not have written.
std::optional<LinkEvent> eventOf(QStringView line, CsvTimeReader& timeOf) {
    const QList<QStringView> fields = CsvFields(line, traffic_text::kColumns.size());
    if (fields.size() < traffic_text::kColumns.size())
        return std::nullopt;
    LinkEvent event;
    const std::optional<std::int64_t> time = timeOf(fields[0]);
    if (!time || (fields[1] != u">" && fields[1] != u"<"))
        return std::nullopt;
    event.wall_ms = *time;
    event.sent = fields[1] == u">";
    event.bytes = QByteArray::fromHex(fields[2].toLatin1());
    if (traffic_text::HexText(event.bytes) != fields[2])
        return std::nullopt;
    const std::optional<LinkOutcome> outcome = outcomeOf(fields[3], event);
    if (!outcome)
        return std::nullopt;
    event.outcome = *outcome;
    return event;
}
} // namespace

CsvReadOutcome ReadTrafficLog(const QString& path, TrafficMonitor& monitor) {
    std::optional<std::int64_t> request_ms;
    CsvTimeReader timeOf;
    const CsvReadOutcome outcome = ReadCsvFile(
        path, traffic_text::kLogHeader, QStringLiteral("журнал обмена"), [&](QStringView line) {
            std::optional<LinkEvent> event = eventOf(line, timeOf);
            if (!event)
                return false;
            const bool answered =
                event->outcome == LinkOutcome::Ok || event->outcome == LinkOutcome::Exception;
            if (answered && request_ms)
                event->response_ms = static_cast<double>(event->wall_ms - *request_ms);
            request_ms = event->sent ? std::optional(event->wall_ms) : std::nullopt;
            monitor.take(*event, line.first(line.indexOf(u';')).toString());
            return true;
        });
    monitor.rows().flush();
    return outcome;
}

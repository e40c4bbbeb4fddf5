#include "traffic/traffic_monitor.h"

#include "traffic/frame_description.h"

namespace {
// At least once a second on disk, as the recording and the journal, whose reasoning holds here:
// a coarse timer may fire up to 5 % late.
constexpr int kLogFlushMs = 500;

// The frames the tool sends on its own, over and over: the poll and the transaction write.
bool isBackground(const QByteArray& frame) {
    const int function = frame.size() > 1 ? static_cast<std::uint8_t>(frame[1]) : 0;
    return function == 4 || function == 16;
}
} // namespace

TrafficMonitor::TrafficMonitor(const ParamCatalogue& catalogue, QChar decimalSeparator, int maxRows)
    : catalogue(catalogue), decimal_separator(decimalSeparator), table(maxRows) {
    log_timer.setInterval(kLogFlushMs);
    connect(&log_timer, &QTimer::timeout, this, &TrafficMonitor::flushLog);
}

TrafficMonitor::~TrafficMonitor() {
    log.close();
}

void TrafficMonitor::take(const LinkEvent& event, QString time) {
    figures.take(event);
    if (event.sent)
        background_request = isBackground(event.bytes);
    // Bytes that failed their check, or none at all, say nothing to decode.
    const bool describable =
        event.sent || event.outcome == LinkOutcome::Ok || event.outcome == LinkOutcome::Exception;
    TrafficRow row{
        std::move(time),
        event.sent ? QStringLiteral(">") : QStringLiteral("<"),
        event.bytes,
        traffic_text::OutcomeText(event),
        describable ? DescribeFrame(event.bytes, event.sent, catalogue, decimal_separator)
                    : QString(),
        background_request,
    };
    log.append(traffic_text::LogLine(row));
    table.append(std::move(row));
}

bool TrafficMonitor::startLog(const QString& path) {
    if (!log.open(path, traffic_text::kLogHeader))
        return false;
    log_timer.start();
    return true;
}

void TrafficMonitor::stopLog() {
    log.close();
    log_timer.stop();
}

void TrafficMonitor::flushLog() {
    if (log.flush())
        return;
    log_timer.stop();
    emit logFailed(log.error());
}

#include "history/session_recorder.h"

#include "history/journal_kinds.h"
#include "history/recording_line.h"
#include "text/file_failure.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>

namespace {
// The files must reach the disk at least once a second, and a coarse timer may fire up to 5 %
// late: twice a second leaves room, and a flush of half a second's lines costs next to nothing.
constexpr int kFlushMs = 500;
} // namespace

std::function<std::int64_t()> SessionRecorder::defaultClock() {
    return [] { return QDateTime::currentMSecsSinceEpoch(); };
}

SessionRecorder::SessionRecorder(QChar decimalSeparator, std::function<std::int64_t()> clock)
    : decimal_separator(decimalSeparator), clock(std::move(clock)) {
    flush_timer.setInterval(kFlushMs);
    connect(&flush_timer, &QTimer::timeout, this, &SessionRecorder::flush);
    flush_timer.start();
}

SessionRecorder::~SessionRecorder() {
    flush();
}

void SessionRecorder::takePoll(const PollPicture& picture) {
    const std::int64_t now = clock();
    goodAnswer(now);
    if (picture.object_look)
        shaft_shown = picture.object_look->prop_shaft_visible;

    EngineSample sample{now, {}};
    for (int q = 0; q < kQuantityCount; ++q)
        sample.raw[q] = static_cast<float>(picture.quantities[q]);
    if (!shaft_shown)
        sample.raw[static_cast<int>(Quantity::ShaftSpeed)] = std::nanf("");
    samples.append(sample);
    recording_file.append(RecordingLine(now, picture.quantities, shaft_shown, decimal_separator));
    for (const JournalEntry& entry : changes.take(picture, now))
        events.add(entry);
}

void SessionRecorder::takeLinkEvent(const LinkEvent& event) {
    if (!link_held && !event.sent &&
        (event.outcome == LinkOutcome::Ok || event.outcome == LinkOutcome::Exception))
        goodAnswer(clock());
}

void SessionRecorder::goodAnswer(std::int64_t now) {
    last_good_ms = now;
    if (link_up)
        return;
    link_up = true;
    // What the journal saw before the silence still stands: only what differs now is news.
    events.add({now, JournalKind::Link, journal_text::kLinkUp});
}

void SessionRecorder::checkLink() {
    const std::int64_t now = clock();
    // A clock set back counts the silence from the moment it was set.
    last_good_ms = std::min(last_good_ms, now);
    if (link_held || !link_up || now - last_good_ms < kLinkLostMs)
        return;
    link_up = false;
    events.add({now, JournalKind::Link, journal_text::kLinkLost});
}

void SessionRecorder::holdLink(bool held) {
    // The chosen controller has had no turn while the line was scanned: its silence counts from
    // the end of the scan.
    if (link_held && !held)
        last_good_ms = clock();
    link_held = held;
}

void SessionRecorder::checkPort(const QString& openPort) {
    if (openPort == open_port)
        return;
    const std::int64_t now = clock();
    if (open_port && !open_port->isEmpty())
        events.add(
            {now, JournalKind::Link, journal_text::kPort + *open_port + QStringLiteral(" закрыт")});
    else if (openPort.isEmpty())
        events.add({now, JournalKind::Link, journal_text::kPort + QStringLiteral("не открыт")});
    if (!openPort.isEmpty())
        events.add(
            {now, JournalKind::Link, journal_text::kPort + openPort + QStringLiteral(" открыт")});
    open_port = openPort;
}

void SessionRecorder::note(JournalKind kind, const QString& text) {
    events.add({clock(), kind, text});
}

bool SessionRecorder::startRecording(const QString& path) {
    return recording_file.open(path, RecordingHeader());
}

void SessionRecorder::stopRecording() {
    recording_file.close();
}

void SessionRecorder::flush() {
    if (!recording_file.flush())
        emit recordingFailed(FileFailure(recording_file.fileName(), recording_file.error()));
    if (!events.flush())
        emit journalFailed(events.error());
}

#include "link/exchange_cycle.h"

#include "link/frame_crc.h"
#include "link/slave_address.h"
#include "link/steady_micros.h"
#include "link/whole_answer.h"

#include <QDateTime>
#include <algorithm>

namespace {
// An answer to `function`, or its exception.
bool answersFunction(std::uint8_t answered, std::uint8_t function) {
    return answered == function || answered == function + 0x80;
}
} // namespace

ExchangeCycle::ExchangeCycle(ByteLine& port, LinkHost& host, AnswerConsumer& polls)
    : clock_us(SteadyMicros), port(port), host(host), polls(polls) {
    line_watch.setTimerType(Qt::PreciseTimer);
    line_watch.setInterval(kWatchIntervalMs);
    QObject::connect(&line_watch, &QTimer::timeout, [this] { watchLine(); });
}

void ExchangeCycle::ExchangeTick() {
    if (line_held)
        return;

    // A network line that is not connected sends nothing, and its own words stand in the
    // status line: neither a controller nor the user's choice of port is to blame.
    line_carries = port.isOpen() && port.state() == LineState::Carrying;
    drain();
    if (fast_exchange && in_flight && sent_between_ticks)
        return followWatch();
    if (judged_early_at_us >= 0 && !in_flight && received.rx_count == 0)
        return tickAfterEarlyAnswer();
    judge();
    SendNext();
    followWatch();
}

void ExchangeCycle::drain() {
    if (rx_judged) {
        received.rx_count = 0;
        rx_judged = false;
    }
    // What does not fit is read all the same and dropped, so the next answer starts afresh.
    std::array<std::uint8_t, 256> dropped;
    while (port.waitingBytes() > 0) {
        const int room = RxBuffer::kCells - received.rx_count;
        const int moved = room > 0 ? port.read(received.rx_buffer.data() + received.rx_count, room)
                                   : port.read(dropped.data(), static_cast<int>(dropped.size()));
        if (moved <= 0)
            break;
        if (room > 0)
            received.rx_count += moved;
    }
}

void ExchangeCycle::judge() {
    rx_judged = true;
    if (received.rx_count <= 2) {
        host.setText(line_carries    ? link_text::kNoAnswer
                     : port.isOpen() ? port.stateText()
                                     : link_text::kNoPort);
        tellAnswer(LinkOutcome::NoAnswer);
        giveUpOnce();
    } else if (HasGoodCrc(received.rx_buffer.data(), received.rx_count)) {
        takeAnswer();
    } else {
        host.setText(link_text::kCrcMismatch);
        tellAnswer(LinkOutcome::CrcMismatch);
        giveUpOnce();
    }
}

void ExchangeCycle::tickAfterEarlyAnswer() {
    // Queued frames are the watch's while it runs; a background request waits for the next tick
    // rather than break the silence after the answer.
    if (watching() || clock_us() - judged_early_at_us < kFrameSilenceUs)
        return;
    judged_early_at_us = -1;
    SendNext();
    followWatch();
}

void ExchangeCycle::setFast(bool on) {
    fast_exchange = on;
    followWatch();
}

void ExchangeCycle::setLineHeld(bool held) {
    line_held = held;
    followWatch();
}

bool ExchangeCycle::watching() const {
    if (!fast_exchange || line_held || !line_carries)
        return false;
    // A background request alone in flight is the tick's business; one with queued frames
    // behind it is watched, so that the first of them follows its answer at once.
    if (in_flight)
        return sent_between_ticks || request_queue.waiting() > 1;
    return judged_early_at_us >= 0 && !request_queue.empty();
}

void ExchangeCycle::watchLine() {
    if (!watching())
        return followWatch();
    const std::int64_t now = clock_us();
    if (in_flight) {
        drain();
        if (IsWholeAnswer(received, request_queue.headSlave(), request_queue.headFrame(),
                          request_queue.headLength())) {
            judge();
            judged_early_at_us = now;
        } else if (sent_between_ticks && now - sent_at_us >= kAnswerTimeoutUs) {
            // The tick's time-out, counted from this frame's own send; the repeat follows at
            // once, as it does on the tick.
            judge();
            judged_early_at_us = -1;
            if (request_queue.waiting() > 0)
                sendBetweenTicks(now);
        }
    }
    if (!in_flight && judged_early_at_us >= 0 && !request_queue.empty() &&
        now - judged_early_at_us >= kFrameSilenceUs)
        sendBetweenTicks(now);
    followWatch();
}

void ExchangeCycle::sendBetweenTicks(std::int64_t now) {
    SendNext();
    sent_between_ticks = in_flight;
    sent_at_us = now;
}

void ExchangeCycle::followWatch() {
    if (!watching())
        line_watch.stop();
    else if (!line_watch.isActive())
        line_watch.start();
}

void ExchangeCycle::takeAnswer() {
    if (headRefuses()) {
        host.setText(link_text::kNoAnswer);
        tellAnswer(LinkOutcome::NoAnswer);
        return giveUpOnce();
    }
    const bool refused = received[1] > 127;
    host.setText(refused ? link_text::kAnswerOk + QStringLiteral(" Нарушение протокола, код: ") +
                               QString::number(received[2])
                         : link_text::kAnswerOk);
    tellAnswer(refused ? LinkOutcome::Exception : LinkOutcome::Ok);
    AnswerConsumer* const consumer = consumerOfAnswer();
    const bool onceRefused = refused && !request_queue.empty() && request_queue.headRequest().once;
    // Before the first send nothing is in flight: advancing the empty ring would make it
    // look full of blank frames that no controller answers, and the link would never recover.
    if (!request_queue.empty()) {
        latest_consumers[request_queue.headFunction() & 0x7F] =
            request_queue.headRequest().consumer;
        request_queue.QueueAdvanceRead();
        ++answered_count;
        head_sent = false;
    }
    // An exception carries nothing to show but its code, which the status line has.
    if (consumer && !refused)
        consumer->DecodeAnswer(received);
    else if (consumer && onceRefused)
        consumer->missed();
}

void ExchangeCycle::giveUpOnce() {
    if (request_queue.empty() || !head_sent || !request_queue.headRequest().once)
        return;
    AnswerConsumer* const consumer = request_queue.headRequest().consumer;
    request_queue.QueueAdvanceRead();
    head_sent = false;
    if (consumer)
        consumer->missed();
}

bool ExchangeCycle::headRefuses() const {
    if (request_queue.empty() || !request_queue.headRequest().strict)
        return false;
    const bool ownSlave = received[0] == request_queue.headSlave();
    return !ownSlave || !answersFunction(received[1], request_queue.headFunction());
}

AnswerConsumer* ExchangeCycle::consumerOfAnswer() const {
    if (request_queue.empty())
        return nullptr;
    if (answersFunction(received[1], request_queue.headFunction()))
        return request_queue.headRequest().consumer;
    return latest_consumers[received[1] & 0x7F];
}

void ExchangeCycle::tellAnswer(LinkOutcome outcome) {
    const bool judged = in_flight || received.rx_count > 0;
    in_flight = false;
    if (!on_event || !judged)
        return;
    LinkEvent event{
        QDateTime::currentMSecsSinceEpoch(), false,
        QByteArray(reinterpret_cast<const char*>(received.rx_buffer.data()), received.rx_count),
        outcome};
    const std::int64_t sentUs = port.writeDoneUs(), arrivedUs = port.lastArrivalUs();
    if (outcome != LinkOutcome::NoAnswer && sentUs > 0 && arrivedUs > sentUs)
        event.response_ms = static_cast<double>(arrivedUs - sentUs) / 1000.0;
    on_event(event);
}

void ExchangeCycle::SendNext() {
    if (request_queue.empty()) {
        if (poll_toggle) {
            poll_toggle = false;
            const bool armOff = host.armOffChecked();
            transaction_counter = transaction_counter + 1 > 65534 ? 0 : transaction_counter + 1;
            host.showTransactionCounter(transaction_counter);
            request_queue.append(TransactionRequest(transaction_counter, armOff));
        } else {
            poll_toggle = true;
            request_queue.append(AnsweredBy(PollRequest(), polls));
        }
    }

    const int slot = request_queue.readSlot();
    const int last = request_queue.headLength();
    const int slave = request_queue.headRequest().slave;
    request_queue.setHeadSlave(slave == kChosenSlave ? host.slaveAddress() : slave);
    send_buffer[0] = static_cast<std::uint8_t>(request_queue.headSlave());

    if (!pending_addresses.empty() && pending_addresses.front().pending_address_slot == slot) {
        host.setSlaveAddress(std::min(pending_addresses.front().pending_address, kMaxSlaveAddress));
        pending_addresses.pop_front();
    }

    std::copy_n(request_queue.headFrame(), last, send_buffer.begin() + 1);
    AppendCrc(send_buffer.data(), last + 1);

    if (!line_carries)
        return;
    const QByteArray frame(reinterpret_cast<const char*>(send_buffer.data()), last + 3);
    port.write(frame);
    sent_between_ticks = false;
    judged_early_at_us = -1;
    if (on_event)
        on_event({QDateTime::currentMSecsSinceEpoch(), true, frame,
                  head_sent ? LinkOutcome::Repeat : LinkOutcome::FirstSend});
    head_sent = true;
    in_flight = true;
}

bool ExchangeCycle::queue(const Request& request) {
    const int slot = request_queue.writeSlot();
    if (!request_queue.append(request))
        return false;
    if (request.new_address >= 0)
        pending_addresses.push_back({slot, request.new_address});
    followWatch();
    return true;
}

bool ExchangeCycle::queueAll(const RequestBatch& batch) {
    if (request_queue.freeRoom() < static_cast<int>(batch.size()))
        return false;
    for (const Request& request : batch)
        queue(request);
    return true;
}

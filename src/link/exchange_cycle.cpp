#include "link/exchange_cycle.h"

#include "link/frame_crc.h"
#include "link/slave_address.h"

#include <QDateTime>
#include <algorithm>

namespace {
// An answer to `function`, or its exception.
bool answersFunction(std::uint8_t answered, std::uint8_t function) {
    return answered == function || answered == function + 0x80;
}
} // namespace

ExchangeCycle::ExchangeCycle(ByteLine& port, LinkHost& host, AnswerConsumer& polls)
    : port(port), host(host), polls(polls) {}

void ExchangeCycle::ExchangeTick() {
    if (line_held)
        return;

    // A network line that is not connected sends nothing, and its own words stand in the
    // status line: neither a controller nor the user's choice of port is to blame.
    line_carries = port.isOpen() && port.state() == LineState::Carrying;
    received.rx_count = 0;
    while (port.waitingBytes() > 0) {
        const std::uint8_t byte = port.readByte();
        if (received.rx_count < RxBuffer::kCells)
            received.rx_buffer[received.rx_count++] = byte;
    }

    if (received.rx_count <= 2) {
        host.setText(line_carries    ? link_text::kNoAnswer
                     : port.isOpen() ? port.stateText()
                                     : link_text::kNoPort);
        tellAnswer(LinkOutcome::NoAnswer);
        giveUpOnce();
        SendNext();
        return;
    }

    if (HasGoodCrc(received.rx_buffer.data(), received.rx_count)) {
        takeAnswer();
    } else {
        host.setText(link_text::kCrcMismatch);
        tellAnswer(LinkOutcome::CrcMismatch);
        giveUpOnce();
    }
    SendNext();
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
    return true;
}

bool ExchangeCycle::queueAll(const RequestBatch& batch) {
    if (request_queue.freeRoom() < static_cast<int>(batch.size()))
        return false;
    for (const Request& request : batch)
        queue(request);
    return true;
}

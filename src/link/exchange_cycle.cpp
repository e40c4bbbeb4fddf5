#include "link/exchange_cycle.h"

#include "link/frame_crc.h"

#include <algorithm>

ExchangeCycle::ExchangeCycle(SerialPort& port, LinkHost& host, AnswerConsumer& decoder)
    : port(port), host(host), decoder(decoder) {}

void ExchangeCycle::ExchangeTick() {
    if (line_held)
        return;

    received.rx_count = 0;
    while (port.waitingBytes() > 0) {
        const std::uint8_t byte = port.readByte();
        if (received.rx_count < RxBuffer::kCells)
            received.rx_buffer[received.rx_count++] = byte;
    }

    if (received.rx_count <= 2) {
        host.setText(link_text::kNoAnswer);
        SendNext();
        return;
    }

    const int c = received.rx_count;
    const int expected = 256 * received.rx_buffer[c - 1] + received.rx_buffer[c - 2];
    if (FrameCrc(received.rx_buffer.data(), c - 3) == expected) {
        host.setText(link_text::kAnswerOk);
        // Before the first send nothing is in flight: advancing the empty ring would make it
        // look full of blank frames that no controller answers, and the link would never recover.
        if (!request_queue.empty())
            request_queue.QueueAdvanceRead();
        decoder.DecodeAnswer(received);
    } else {
        host.setText(link_text::kCrcMismatch);
    }
    SendNext();
}

void ExchangeCycle::SendNext() {
    if (request_queue.empty()) {
        if (poll_toggle) {
            poll_toggle = false;
            const bool armOff = host.armOffChecked();
            transaction_counter = transaction_counter + 1 > 65534 ? 0 : transaction_counter + 1;
            host.showTransactionCounter(transaction_counter);
            QueueTransactionWrite(request_queue, transaction_counter, armOff);
        } else {
            poll_toggle = true;
            QueuePollRead(request_queue);
        }
    }

    const int slot = request_queue.queue_read;
    const int last = request_queue.queue_last[slot];
    send_buffer[0] = static_cast<std::uint8_t>(host.slaveAddress());

    if (!pending_addresses.empty() && pending_addresses.front().pending_address_slot == slot) {
        host.setSlaveAddress(std::min(pending_addresses.front().pending_address, 127));
        pending_addresses.pop_front();
    }

    const auto& frame = request_queue.queue_frames[slot];
    std::copy(frame.begin() + 1, frame.begin() + last + 1, send_buffer.begin() + 1);
    const std::uint16_t crc = FrameCrc(send_buffer.data(), last);
    send_buffer[last + 1] = static_cast<std::uint8_t>(crc & 0xFF);
    send_buffer[last + 2] = static_cast<std::uint8_t>(crc >> 8);

    if (port.isOpen())
        port.write(QByteArray(reinterpret_cast<const char*>(send_buffer.data()), last + 3));
}

bool ExchangeCycle::QueueAddressWrite(std::int32_t address, std::int32_t newAddress,
                                      std::uint8_t count) {
    const int slot = request_queue.queue_write;
    if (!QueueWriteRequest(request_queue, address, newAddress, count))
        return false;
    pending_addresses.push_back({slot, newAddress});
    return true;
}

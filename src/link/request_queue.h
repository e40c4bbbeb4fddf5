#pragma once

#include "link/requests.h"

#include <array>
#include <cstdint>
#include <vector>

// The one ring of prepared request frames, private to the exchange cycle. Producers append at
// queue_write; the cycle sends the frame at queue_read until it is answered. Position 0 of a
// frame is the slave address, filled in at send time; no CRC is stored. Beside each frame the
// ring keeps whom it is meant for and who takes its answer.
//
// The ring holds at most 511 waiting frames. An append that would make a 512th is refused and
// leaves every waiting frame intact: a full ring must never look empty and be overwritten.
class RequestQueue {
public:
    static constexpr int kSlots = 512;
    static constexpr int kSlotBytes = 256;
    static constexpr int kCapacity = kSlots - 1;

    bool empty() const { return queue_read == queue_write; }
    int waiting() const { return (queue_write - queue_read + kSlots) % kSlots; }
    int freeRoom() const { return kCapacity - waiting(); }

    // Appends the request's frame; false when full or too long.
    bool append(const Request& request);

    // The slot the next append fills, and the slot of the frame in flight.
    int writeSlot() const { return queue_write; }
    int readSlot() const { return queue_read; }
    // The frame at queue_read from its function code on, and its length.
    const std::uint8_t* headFrame() const { return queue_frames[queue_read].data() + 1; }
    int headLength() const { return queue_last[queue_read]; }
    std::uint8_t headFunction() const { return headFrame()[0]; }
    // The request at queue_read as it was queued, without its frame.
    const Request& headRequest() const { return queue_requests[queue_read]; }
    // The slave address the frame at queue_read last went to.
    int headSlave() const { return queue_frames[queue_read][0]; }
    void setHeadSlave(int address) {
        queue_frames[queue_read][0] = static_cast<std::uint8_t>(address);
    }
    // The frame at queue_read was answered.
    void QueueAdvanceRead() { queue_read = (queue_read + 1) % kSlots; }

private:
    void QueueAdvanceWrite() { queue_write = (queue_write + 1) % kSlots; }

    // Left as allocated, not cleared: a slot is read only after append filled it, so clearing its
    // 128 KB whenever a ring is made bought nothing.
    std::array<std::array<std::uint8_t, kSlotBytes>, kSlots> queue_frames;
    std::array<std::int32_t, kSlots> queue_last{};
    std::array<Request, kSlots> queue_requests{};
    int queue_read = 0;
    int queue_write = 0;
};

#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>

// The one ring of prepared request frames. Producers (commands, bulk transfers, single edits,
// the background poll) append at queue_write; the exchange cycle sends the frame at queue_read
// until it is answered. Position 0 of a frame is the slave address, filled in at send time; no
// CRC is stored.
//
// The ring holds at most 511 waiting frames. An append that would make a 512th is refused and
// leaves every waiting frame intact: a full ring must never look empty and be overwritten.
struct RequestQueue {
    static constexpr int kSlots = 512;
    static constexpr int kSlotBytes = 256;
    static constexpr int kCapacity = kSlots - 1;

    std::array<std::array<std::uint8_t, kSlotBytes>, kSlots> queue_frames{};
    std::array<std::int32_t, kSlots> queue_last{};
    int queue_read = 0;
    int queue_write = 0;

    bool empty() const { return queue_read == queue_write; }
    int waiting() const { return (queue_write - queue_read + kSlots) % kSlots; }
    int freeRoom() const { return kCapacity - waiting(); }

    void QueueAdvanceWrite() { queue_write = (queue_write + 1) % kSlots; }
    void QueueAdvanceRead() { queue_read = (queue_read + 1) % kSlots; }

    // Appends one frame given from its function code on (position 1..); false when full.
    bool append(std::initializer_list<std::uint8_t> fromFunctionCode);
    // Appends a frame already laid out from position 1 in `bytes` (`count` bytes).
    bool append(const std::uint8_t* fromFunctionCode, int count);
};

// Byte k (0 = least significant) of a signed 32-bit value; 0 for k outside 0..3.
std::uint8_t ValueByte(std::int32_t value, int k);

// Function 100: read `count` parameter bytes (at most 20) from a byte address.
bool QueueReadRequest(RequestQueue& queue, std::int32_t address, std::uint8_t count);
// Function 101: write the `count` (at most 4) low bytes of value, most significant first.
bool QueueWriteRequest(RequestQueue& queue, std::int32_t address, std::int32_t value,
                       std::uint8_t count);
// Function 6 to register 402: one of the four operating commands.
bool QueueCommandWrite(RequestQueue& queue, std::uint16_t code);
// Function 4: input registers 300..424, the live picture of the engine.
bool QueuePollRead(RequestQueue& queue);
// Function 16 to registers 400..401: transaction counter and protections-off flag.
bool QueueTransactionWrite(RequestQueue& queue, int counter, bool protectionsOff);

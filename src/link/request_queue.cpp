#include "link/request_queue.h"

#include <algorithm>

bool RequestQueue::append(std::initializer_list<std::uint8_t> fromFunctionCode) {
    return append(fromFunctionCode.begin(), static_cast<int>(fromFunctionCode.size()));
}

bool RequestQueue::append(const std::uint8_t* fromFunctionCode, int count) {
    if (freeRoom() == 0 || count < 1 || count > kSlotBytes - 1)
        return false;
    auto& slot = queue_frames[queue_write];
    slot[0] = 0;
    std::copy_n(fromFunctionCode, count, slot.begin() + 1);
    queue_last[queue_write] = count;
    QueueAdvanceWrite();
    return true;
}

std::uint8_t ValueByte(std::int32_t value, int k) {
    if (k < 0 || k > 3)
        return 0;
    return static_cast<std::uint8_t>((static_cast<std::uint32_t>(value) >> (8 * k)) & 0xFF);
}

namespace {
std::uint8_t high(std::int32_t v) { return ValueByte(v, 1); }
std::uint8_t low(std::int32_t v) { return ValueByte(v, 0); }
} // namespace

bool QueueReadRequest(RequestQueue& queue, std::int32_t address, std::uint8_t count) {
    return queue.append({0x64, high(address), low(address), std::min<std::uint8_t>(count, 20)});
}

bool QueueWriteRequest(RequestQueue& queue, std::int32_t address, std::int32_t value,
                       std::uint8_t count) {
    count = std::min<std::uint8_t>(count, 4);
    std::array<std::uint8_t, 8> frame{0x65, high(address), low(address), count};
    for (int k = 0; k < count; ++k)
        frame[4 + k] = ValueByte(value, count - 1 - k);
    return queue.append(frame.data(), 4 + count);
}

bool QueueCommandWrite(RequestQueue& queue, std::uint16_t code) {
    return queue.append({0x06, 0x01, 0x92, high(code), low(code)});
}

bool QueuePollRead(RequestQueue& queue) {
    return queue.append({0x04, 0x01, 0x2C, 0x00, 0x7D});
}

bool QueueTransactionWrite(RequestQueue& queue, int counter, bool protectionsOff) {
    return queue.append({0x10, 0x01, 0x90, 0x00, 0x02, 0x04, high(counter), low(counter), 0x00,
                         static_cast<std::uint8_t>(protectionsOff ? 1 : 0)});
}

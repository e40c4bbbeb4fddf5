#include "link/whole_answer.h"

#include "link/frame_crc.h"

#include <algorithm>

namespace {
constexpr int kExceptionLength = 5;
constexpr int kWriteEchoLength = 8;
// Slave, function, address high and low, byte count, then the bytes and the CRC.
constexpr int kParamHeadAndCrc = 7;
// Slave, function, byte count, then the registers and the CRC.
constexpr int kRegisterHeadAndCrc = 5;

// The answer's bytes from position 2 on repeat `count` bytes of the request from position 1 on.
bool echoes(const RxBuffer& answer, const std::uint8_t* request, int count) {
    return std::equal(request + 1, request + 1 + count, answer.rx_buffer.begin() + 2);
}

// The length the answer must have, or 0 when it cannot answer the request.
int expectedLength(const RxBuffer& answer, const std::uint8_t* request, int length) {
    const std::uint8_t function = request[0];
    if (answer[1] == (function | 0x80))
        return kExceptionLength;
    if (answer[1] != function)
        return 0;
    switch (function) {
    case 0x04:
        return length >= 5 && answer[2] == 2 * ((request[3] << 8) | request[4])
                   ? kRegisterHeadAndCrc + answer[2]
                   : 0;
    case 0x06:
    case 0x10:
        return length >= 5 && echoes(answer, request, 4) ? kWriteEchoLength : 0;
    case 0x64:
    case 0x65:
        return length >= 4 && echoes(answer, request, 3) ? kParamHeadAndCrc + answer[4] : 0;
    default:
        return 0;
    }
}
} // namespace

bool IsWholeAnswer(const RxBuffer& answer, int slave, const std::uint8_t* request, int length) {
    // Fewer bytes than the shortest answer, an exception, cannot be judged yet; the echo checks
    // read up to position 5, which such an answer holds by then.
    if (length < 1 || answer.rx_count < kExceptionLength || answer[0] != slave)
        return false;
    return answer.rx_count == expectedLength(answer, request, length) &&
           HasGoodCrc(answer.rx_buffer.data(), answer.rx_count);
}

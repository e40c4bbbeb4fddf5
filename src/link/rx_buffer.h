#pragma once

#include <array>
#include <cstdint>

// The bytes drained in one tick. Cells at and beyond rx_count keep what earlier answers left
// there; the decoders read fixed positions and rely on that.
struct RxBuffer {
    static constexpr int kCells = 256;
    std::array<std::uint8_t, kCells> rx_buffer{};
    int rx_count = 0;

    std::uint8_t operator[](int cell) const { return rx_buffer[cell]; }
};

// Takes the answers of the requests queued with it (see Request::consumer): each one that passed
// its CRC check and answers such a request, exceptions apart, which the status line tells.
class AnswerConsumer {
public:
    virtual ~AnswerConsumer() = default;
    virtual void DecodeAnswer(const RxBuffer& answer) = 0;
    // A request sent once (`Request::once`) ended without an answer to decode.
    virtual void missed() {}
};

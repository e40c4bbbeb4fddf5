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

// Receives every answer that passed its CRC check (the dispatcher of the monitor).
class AnswerConsumer {
public:
    virtual ~AnswerConsumer() = default;
    virtual void DecodeAnswer(const RxBuffer& answer) = 0;
};

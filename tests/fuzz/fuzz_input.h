#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>

// Takes a fuzz input apart from front to back. Past its end every read gives zeros, so any
// input is a complete script.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    bool atEnd() const { return at >= size; }

    std::uint8_t byte() { return at < size ? data[at++] : 0; }

    // Big-endian, as on the wire.
    std::uint16_t u16() {
        const std::uint16_t high = byte();
        return static_cast<std::uint16_t>(high << 8 | byte());
    }

    std::int32_t s32() {
        const std::uint32_t high = u16();
        return static_cast<std::int32_t>(high << 16 | u16());
    }

    // The next `count` bytes, fewer where the input ends.
    QByteArray bytes(std::size_t count) {
        const std::size_t n = count < size - at ? count : size - at;
        const QByteArray taken(reinterpret_cast<const char*>(data + at), static_cast<qsizetype>(n));
        at += n;
        return taken;
    }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
};

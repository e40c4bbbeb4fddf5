#pragma once

#include <cstdint>

// CRC-16/MODBUS over positions 0..last of a byte buffer (polynomial 0xA001 reflected, initial
// 0xFFFF, no final XOR; a byte at a time from a table of the bitwise steps). On the wire the low
// byte goes first.
std::uint16_t FrameCrc(const std::uint8_t* buffer, int last);

// Writes the CRC of the first `length` bytes into the two positions after them.
void AppendCrc(std::uint8_t* frame, int length);

// True when the last two of `length` bytes (at least 3) are the CRC of the bytes before them.
bool HasGoodCrc(const std::uint8_t* frame, int length);

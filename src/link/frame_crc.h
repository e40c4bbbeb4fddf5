#pragma once

#include <cstdint>

// CRC-16/MODBUS over positions 0..last of a byte buffer (bitwise, polynomial 0xA001 reflected,
// initial 0xFFFF, no final XOR). On the wire the low byte goes first.
std::uint16_t FrameCrc(const std::uint8_t* buffer, int last);

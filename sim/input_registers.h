#pragma once

#include "engine_model.h"

#include <array>
#include <cstdint>

// The live picture the controller offers in input registers 300..424, laid out as the tool's
// poll expects it. Register k of the block is input register 300 + k.
class InputRegisters {
public:
    static constexpr int kFirst = 300;
    static constexpr int kCount = 125;
    static constexpr std::uint16_t kProtocolVersion = 0x0203;
    static constexpr std::uint16_t kSoftwareVersion = 0x0107;

    // LED bits of register 70.
    static constexpr std::uint16_t kLedAlarm = 1u << 0;
    static constexpr std::uint16_t kLedFault = 1u << 1;
    static constexpr std::uint16_t kLedRunning = 1u << 2;
    static constexpr std::uint16_t kLedReady = 1u << 3;
    static constexpr std::uint16_t kLedLocalPost = 1u << 4;
    static constexpr std::uint16_t kLedProtectionsOff = 1u << 5;
    static constexpr std::uint16_t kLedForward = 1u << 8;
    static constexpr std::uint16_t kLedStopping = 1u << 10;

    using Block = std::array<std::uint16_t, kCount>;

    static Block snapshot(const EngineModel& engine, int objectType);
    static std::uint16_t ledWord(const EngineModel& engine, int objectType);
};

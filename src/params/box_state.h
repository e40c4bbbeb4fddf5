#pragma once

#include <cstdint>

// The colour of a parameter box is its state: it tells where the shown value came from.
enum class BoxState {
    FromEeprom,      // green: an answer of the controller filled it
    NotRead,         // red: legend only
    FromFile,        // light blue: read from, or saved to, a parameter file
    MissingInFile,   // light yellow: the file lacks the key
    MatchesFile,     // light green: compare found the same number
    DiffersFromFile, // light red: compare found another number
    Changed,         // white: edited, or a bulk transfer started
    NotStored,       // light red: read back after a write-all, the controller holds another value
};

// 0xRRGGBB of each state.
constexpr std::uint32_t BoxStateRgb(BoxState state) {
    switch (state) {
    case BoxState::FromEeprom:
        return 0x00FF00;
    case BoxState::NotRead:
        return 0xFF0000;
    case BoxState::FromFile:
        return 0x4BAFFF;
    case BoxState::MissingInFile:
        return 0xFFFF80;
    case BoxState::MatchesFile:
        return 0xC0FFC0;
    case BoxState::DiffersFromFile:
    case BoxState::NotStored:
        return 0xFF8080;
    case BoxState::Changed:
        return 0xFFFFFF;
    }
    return 0xFFFFFF;
}

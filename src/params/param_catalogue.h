#pragma once

#include <array>
#include <cstdint>

constexpr int kParamCount = 506;
// The controller's own slave address: written last of all, after which the link follows it.
constexpr int kOwnAddressParam = 23;
// The external-control switch: written after the address, on its own.
constexpr int kExternalControlParam = 26;

// Where each of the controller's 506 programmable parameters lies in its EEPROM, how many bytes
// it takes and how the stored integer relates to the shown number (shown = stored x |scale|;
// a negative scale marks a signed, two's complement parameter).
struct ParamCatalogue {
    std::array<std::uint16_t, kParamCount> param_address{};
    std::array<std::uint8_t, kParamCount> param_size{};
    std::array<double, kParamCount> param_scale{};
};

// The one catalogue, built on first use (safely, whichever thread asks first) and never changed.
const ParamCatalogue& Catalogue();

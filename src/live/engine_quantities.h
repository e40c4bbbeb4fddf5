#pragma once

#include "link/rx_buffer.h"

#include <QChar>
#include <QString>
#include <array>
#include <cstdint>

// The ten measured quantities of the live display, in the order the recording file and the
// charts list them.
enum class Quantity {
    EngineSpeed,
    ShaftSpeed,
    CoolantTemperature,
    OilTemperature,
    GearOilTemperature,
    OilPressure,
    GearOilPressure,
    HighTurboPressure,
    LowTurboPressure,
    BatteryVoltage,
};
constexpr int kQuantityCount = 10;

struct QuantityLook {
    QString name; // the caption beside its value in the main window
    QString unit;
    int decimals = 0;
    double scale = 1; // physical value = register value × scale
    // The narrowest range a chart draws it over, in its unit: a sensor's steady jitter of a few
    // units must not fill the height and look like swings.
    double least_span = 1;
};

const QuantityLook& LookOf(Quantity quantity);
inline Quantity QuantityAt(int index) {
    return static_cast<Quantity>(index);
}
// "Name, unit", as the recording file's header and the charts' legend name it.
QString QuantityTitle(Quantity quantity);

// The register values of one poll answer, before scaling.
using QuantityValues = std::array<std::int64_t, kQuantityCount>;
QuantityValues ReadQuantities(const RxBuffer& rx);

// The value as the main window shows it, without the blank the window keeps after it.
QString QuantityText(Quantity quantity, std::int64_t value, QChar decimalSeparator);

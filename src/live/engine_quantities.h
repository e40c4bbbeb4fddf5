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

// Everything the tool knows of one quantity: where the poll answer holds it, how it is shown,
// and what the main window's controls and the charts call it.
struct QuantityLook {
    QString name; // the caption beside its value in the main window
    QString unit;
    int decimals = 0;
    double scale = 1; // physical value = register value × scale
    // The narrowest range a chart draws it over, in its unit: a sensor's steady jitter of a few
    // units must not fill the height and look like swings.
    double least_span = 1;
    // What the bare number means, without its unit, for a screen reader.
    QString meaning;
    // The main window's value label is "lbl_" and its caption "lblc_" followed by this.
    const char* control = "";
    // Chosen when the chart window opens: the engine speed and the coolant, what a start is
    // watched by.
    bool charted_at_start = false;
    int register_index = 0;     // among the poll registers 300..424
    bool two_registers = false; // unsigned 32 bits, high register first; else signed 16 bits
};

const QuantityLook& LookOf(Quantity quantity);
inline Quantity QuantityAt(int index) {
    return static_cast<Quantity>(index);
}
// "Name, unit", as the recording file's header and the charts' legend name it.
QString QuantityTitle(Quantity quantity);
// "Meaning, unit", as a screen reader describes the main window's value.
QString QuantityDescription(Quantity quantity);

// The register values of one poll answer, before scaling.
using QuantityValues = std::array<std::int64_t, kQuantityCount>;
QuantityValues ReadQuantities(const RxBuffer& rx);

// The value as the main window shows it: an empty unit leaves its blank after the number.
QString QuantityWindowText(Quantity quantity, std::int64_t value, QChar decimalSeparator);
// The value as the recording file and the charts show it, without that blank.
QString QuantityText(Quantity quantity, std::int64_t value, QChar decimalSeparator);

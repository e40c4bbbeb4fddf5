#pragma once

#include "params/param_catalogue.h"
#include "tool_rig.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <random>

// Rounds of read-all, random edits, write-all and read-all against a simulator that loses,
// spoils and splits answers. After every transfer the boxes and the simulator's memory file are
// held against what the user typed: every box green, every box, every stored byte and every
// typed value telling the same number.
class FaultSoak {
public:
    FaultSoak(ToolRig& rig, const QString& eepromFile, std::uint32_t seed);

    // One round; false when a transfer did not get through in time (the link is stuck).
    bool round();

    int rounds() const { return round_count; }
    int editedBoxes() const { return edited_count; }
    int mismatchCount() const { return mismatch_count; }
    // The first mismatches found, described.
    const QStringList& mismatches() const { return first_mismatches; }

private:
    // Clicks the read-all or write-all button and waits until the transfer is through.
    bool transfer(bool write);
    void editBoxes();
    void check(const char* when);
    void mismatch(const QString& what);

    ToolRig& rig;
    ParamWindow& frm_param;
    ParamCatalogue catalogue;
    QString eeprom_file;
    std::mt19937 random;
    // The value every parameter must hold, once known: read at the start, then as typed.
    std::array<std::optional<std::int32_t>, kParamCount> expected{};
    int round_count = 0;
    int edited_count = 0;
    int mismatch_count = 0;
    QStringList first_mismatches;
};

#pragma once

#include "history/journal_entry.h"
#include "live/poll_decoder.h"

#include <QList>
#include <array>
#include <bitset>

// What one poll answer changed against the one before, as journal lines: signals, LEDs, fault
// words, the Modbus-blocked flag and the object type.
class PictureChanges {
public:
    // The first picture is compared with a quiet panel (nothing lit, fault words 0000, control
    // allowed, type unknown), so its lines tell the state as found; every later one with the last
    // one seen, also after the link was lost, so a reconnection shows only what really changed.
    PictureChanges();
    QList<JournalEntry> take(const PollPicture& picture, std::int64_t wallMs);

private:
    std::bitset<kSignalCount> signal_lit;
    std::bitset<kLedCount> led_lit;
    std::array<QString, kFaultCount> faults;
    bool modbus_blocked = false;
    QString object_caption;
};

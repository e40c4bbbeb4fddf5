#pragma once

#include <QString>
#include <cstdint>

// What a journal line is about; the journal window filters by it.
enum class JournalKind {
    Signal,    // the signal grid
    Indicator, // the state LEDs
    Fault,     // the fault words
    Panel,     // the Modbus-blocked flag and the object type
    Link,      // the link established or lost
    Command,   // the four operating commands
    Parameter, // parameter reads, writes and files
};
constexpr int kJournalKindCount = 7;

struct JournalEntry {
    std::int64_t wall_ms = 0;
    JournalKind kind = JournalKind::Signal;
    QString text;
};

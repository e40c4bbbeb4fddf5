#pragma once

#include <QByteArray>
#include <cstdint>

// What happened on the line in one step of the exchange, for whoever watches it (the traffic
// monitor). The cycle hands each event over as it happens and never waits for the watcher.
enum class LinkOutcome {
    FirstSend,   // a frame sent for the first time
    Repeat,      // a frame sent again because the last try was not answered
    Ok,          // an answer with a correct CRC
    Exception,   // an answer with a correct CRC that refuses the request (function + 0x80)
    CrcMismatch, // bytes arrived, but their CRC is wrong
    NoAnswer,    // nothing (or at most two bytes) arrived within the tick
};

struct LinkEvent {
    std::int64_t wall_ms = 0; // local time, milliseconds since the epoch
    bool sent = false;        // the tool's frame ('>') or what a tick judged as its answer ('<')
    QByteArray bytes;         // CRC included; what arrived, even when it is not a frame
    LinkOutcome outcome = LinkOutcome::FirstSend;
    // From the end of sending to the last byte of the answer; negative when unknown.
    double response_ms = -1;
};

#pragma once

#include "link/byte_line.h"

#include <QByteArray>
#include <cstdint>

// Everything a line holds now, read as the exchange's drain reads it.
inline QByteArray TakeWaiting(ByteLine& line) {
    QByteArray taken;
    while (line.waitingBytes() > 0) {
        std::uint8_t chunk[64];
        const int moved = line.read(chunk, static_cast<int>(sizeof chunk));
        if (moved <= 0)
            break;
        taken.append(reinterpret_cast<const char*>(chunk), moved);
    }
    return taken;
}

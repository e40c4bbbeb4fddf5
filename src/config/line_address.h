#pragma once

#include <QString>
#include <optional>

// Where the tool's line goes, as the user chooses it: today a COM port by its number (the device
// behind it is found through the port map, config/com_port_map.h).
struct LineAddress {
    int com_number = 0; // 0: none chosen

    friend bool operator==(const LineAddress&, const LineAddress&) = default;
};

// COM1..COM255 lead somewhere; COM0 is the number of no port.
bool NamesALine(const LineAddress& address);

// "COM3", as the port dialog, the messages and the journal name it (also "COM0").
QString LineName(const LineAddress& address);

// The line a command line names by its number (1..255); none for anything else.
std::optional<LineAddress> LineAddressFromText(const QString& text);

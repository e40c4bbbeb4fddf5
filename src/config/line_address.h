#pragma once

#include <QString>
#include <optional>
#include <utility>

// Where the tool's line goes, as the user chooses it: a COM port by its number (the device
// behind it is found through the port map, config/com_port_map.h), or a serial device server
// on the network, by host and TCP port ("tcp://10.0.0.50:4001": given on the command line, or
// as a COM number's entry in the port map).
struct LineAddress {
    // COM<n>, by its number alone wherever a number is given.
    LineAddress(int comNumber = 0) : com_number(comNumber) {}
    // A serial device server.
    LineAddress(QString networkHost, int tcpPort)
        : host(std::move(networkHost)), tcp_port(tcpPort) {}

    int com_number = 0; // 0: none chosen, or a network address
    QString host;       // empty for a COM port
    int tcp_port = 0;

    bool isNetwork() const { return !host.isEmpty(); }
    friend bool operator==(const LineAddress&, const LineAddress&) = default;
};

// COM1..COM255 and a host with a port 1..65535 lead somewhere; COM0 is the number of no port.
bool NamesALine(const LineAddress& address);

// "COM3", as the port dialog, the messages and the journal name it (also "COM0");
// "tcp://10.0.0.50:4001" for a network address.
QString LineName(const LineAddress& address);

// A network address written as tcp://HOST:PORT (an IPv6 host in brackets); none for anything
// else.
std::optional<LineAddress> NetworkAddressFromText(const QString& text);

// The line a command line names by its number (1..255) or as tcp://HOST:PORT; none for anything
// else.
std::optional<LineAddress> LineAddressFromText(const QString& text);

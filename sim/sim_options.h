#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

// How the simulator is started: where its line is, who it is, and how badly it behaves.
struct SimOptions {
    QString link_path;   // symlink made to the pty's slave side
    QString device_path; // an existing serial device instead of a pty
    // The controllers on the line, one per address (--address, repeatable), each with its own
    // memory, engine and object type.
    std::vector<int> addresses{7};
    int object_type = 0;             // of every controller not named below
    std::map<int, int> object_types; // by address (--object-type A=N)
    // Served as a serial device server does, on TCP: the address (loopback unless given) and
    // the port (0: any free one); tcp_port < 0 when not asked for.
    QString tcp_host;
    int tcp_port = -1;
    QString eeprom_file;
    double drop_probability = 0;
    double corrupt_probability = 0;
    double split_probability = 0;
    int turnaround_ms = 0;
    std::optional<std::uint32_t> seed;
    bool verbose = false;
    // Parameters the memory keeps below a limit whatever is written (--clamp N=MAX), as a
    // controller that limits a setting does.
    std::vector<std::pair<int, std::int32_t>> clamps;

    int objectTypeAt(int address) const;
    // The EEPROM file of the controller at `address`: the one given, for a single controller;
    // for several, one each, the address put before the extension ("eeprom.bin" ->
    // "eeprom-12.bin").
    QString eepromFileOf(int address) const;
};

struct ParsedSimOptions {
    SimOptions options;
    bool help_requested = false;
    QString help_text;
    QString error; // empty when the command line was understood
};

// `arguments` includes the program name first, as QCoreApplication::arguments() gives it.
ParsedSimOptions ParseSimOptions(const QStringList& arguments);

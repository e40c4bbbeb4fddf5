#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// How the simulator is started: where its line is, who it is, and how badly it behaves.
struct SimOptions {
    QString linkPath;   // symlink made to the pty's slave side
    QString devicePath; // an existing serial device instead of a pty
    int address = 7;
    int objectType = 0;
    QString eepromFile;
    double dropProbability = 0;
    double corruptProbability = 0;
    double splitProbability = 0;
    int extraDelayMs = 0;
    std::optional<std::uint32_t> seed;
    bool verbose = false;
};

struct ParsedSimOptions {
    SimOptions options;
    bool helpRequested = false;
    QString helpText;
    QString error; // empty when the command line was understood
};

// `arguments` includes the program name first, as QCoreApplication::arguments() gives it.
ParsedSimOptions ParseSimOptions(const QStringList& arguments);

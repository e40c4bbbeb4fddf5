#pragma once

#include "controller_slave.h"
#include "eeprom_image.h"
#include "engine_model.h"
#include "sim_options.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

// The controllers that share the simulated line, one for each address of the options, each
// with its own parameter memory (and file), engine and object type. Each answers only its own
// address; a broadcast (address 0) is performed by all of them and answered by none.
class ControllerBus {
public:
    // Builds the controllers; false, with `error` telling why, when a memory file cannot be read.
    bool build(const SimOptions& options, std::uint32_t seed, std::int64_t nowMs, QString& error);

    // The answer to a request whose CRC was good: empty when no controller answers it. A
    // parameter write is saved to the file of the controller that took it.
    QByteArray handle(const QByteArray& request, std::int64_t nowMs);
    void advance(std::int64_t nowMs);

private:
    struct Controller {
        Controller(int address, int objectType, std::int64_t nowMs, std::uint32_t seed)
            : engine(nowMs, seed), slave(address, objectType, eeprom, engine) {}
        EepromImage eeprom;
        EngineModel engine;
        ControllerSlave slave;
        QString eeprom_file;
    };
    // Held by pointer: each slave keeps references to its own memory and engine.
    std::vector<std::unique_ptr<Controller>> controllers;
};

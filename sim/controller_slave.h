#pragma once

#include "eeprom_image.h"
#include "engine_model.h"

#include <QByteArray>
#include <cstdint>
#include <vector>

// The controller as a Modbus RTU slave: it takes a request whose CRC has been checked and
// gives the answer frame (CRC included), or nothing when the request is for another slave. A
// broadcast (address 0) is performed as if it were its own and never answered.
class ControllerSlave {
public:
    static constexpr int kBroadcastAddress = 0;
    static constexpr int kCommandRegister = 402;
    static constexpr int kFirstHolding = 400;
    static constexpr int kHoldingCount = 2;
    static constexpr int kAddressByte = 279;
    static constexpr int kMaxParameterBytes = 249; // the largest answer still fits 256 bytes

    enum Exception : std::uint8_t {
        IllegalFunction = 1,
        IllegalDataAddress = 2,
        IllegalDataValue = 3,
    };

    struct Outcome {
        QByteArray answer;           // empty: not for us, no answer
        bool eeprom_changed = false; // a parameter write was stored
    };

    ControllerSlave(int address, int objectType, EepromImage& eeprom, EngineModel& engine);

    Outcome handle(const QByteArray& request, std::int64_t nowMs);
    // A parameter at `address` of `size` bytes is stored as at most `max`.
    struct StoreLimit {
        int address;
        int size;
        std::int32_t max;
    };
    void limitStored(std::vector<StoreLimit> limits) { store_limits = std::move(limits); }
    int address() const { return own_address; }

private:
    QByteArray readInputRegisters(const QByteArray& pdu, std::int64_t nowMs);
    QByteArray writeSingleRegister(const QByteArray& pdu, std::int64_t nowMs);
    QByteArray writeMultipleRegisters(const QByteArray& pdu);
    QByteArray readParameters(const QByteArray& pdu) const;
    QByteArray writeParameters(const QByteArray& pdu, Outcome& outcome);
    QByteArray exception(std::uint8_t function, Exception code) const;
    QByteArray frame(QByteArray pdu) const;

    int own_address;
    int object_type;
    std::vector<StoreLimit> store_limits;
    EepromImage& eeprom;
    EngineModel& engine;
};

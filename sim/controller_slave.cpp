#include "controller_slave.h"

#include "crc16.h"
#include "input_registers.h"

namespace {
int u8(const QByteArray& bytes, int i) {
    return static_cast<std::uint8_t>(bytes[i]);
}
int u16(const QByteArray& bytes, int i) {
    return 256 * u8(bytes, i) + u8(bytes, i + 1);
}
void appendU16(QByteArray& bytes, int value) {
    bytes.append(static_cast<char>((value >> 8) & 0xFF));
    bytes.append(static_cast<char>(value & 0xFF));
}
constexpr int kMinSlaveAddress = 1;
constexpr int kMaxSlaveAddress = 247;

// Bytes a request of a known function needs from its function code on.
int minimumPduSize(int function) {
    switch (function) {
    case 4:
    case 6:
        return 5;
    case 16:
        return 6;
    case 100:
    case 101:
        return 4;
    default:
        return 1;
    }
}
} // namespace

ControllerSlave::ControllerSlave(int address, int objectType, EepromImage& eeprom,
                                 EngineModel& engine)
    : own_address(address), object_type(objectType), eeprom(eeprom), engine(engine) {}

ControllerSlave::Outcome ControllerSlave::handle(const QByteArray& request, std::int64_t nowMs) {
    Outcome outcome;
    const bool broadcast = request.size() >= 4 && u8(request, 0) == kBroadcastAddress;
    if (request.size() < 4 || (u8(request, 0) != own_address && !broadcast))
        return outcome;
    // The protocol data unit: function code and data, without address and CRC.
    const QByteArray pdu = request.mid(1, request.size() - 3);
    const int function = u8(pdu, 0);
    if (pdu.size() < minimumPduSize(function)) {
        outcome.answer = exception(static_cast<std::uint8_t>(function), IllegalDataValue);
        return outcome;
    }
    switch (function) {
    case 4:
        outcome.answer = readInputRegisters(pdu, nowMs);
        break;
    case 6:
        outcome.answer = writeSingleRegister(pdu, nowMs);
        break;
    case 16:
        outcome.answer = writeMultipleRegisters(pdu);
        break;
    case 100:
        outcome.answer = readParameters(pdu);
        break;
    case 101:
        outcome.answer = writeParameters(pdu, outcome);
        break;
    default:
        outcome.answer = exception(static_cast<std::uint8_t>(function), IllegalFunction);
        break;
    }
    // Every controller on the line takes a broadcast; were they to answer, they would all talk
    // at once.
    if (broadcast)
        outcome.answer.clear();
    return outcome;
}

QByteArray ControllerSlave::readInputRegisters(const QByteArray& pdu, std::int64_t nowMs) {
    const int first = u16(pdu, 1);
    const int quantity = u16(pdu, 3);
    if (quantity < 1 || quantity > InputRegisters::kCount)
        return exception(4, IllegalDataValue);
    if (first < InputRegisters::kFirst ||
        first + quantity > InputRegisters::kFirst + InputRegisters::kCount)
        return exception(4, IllegalDataAddress);

    engine.advance(nowMs);
    const auto block = InputRegisters::snapshot(engine, object_type);
    QByteArray answer(1, 4);
    answer.append(static_cast<char>(2 * quantity));
    for (int k = 0; k < quantity; ++k)
        appendU16(answer, block[first - InputRegisters::kFirst + k]);
    return frame(answer);
}

QByteArray ControllerSlave::writeSingleRegister(const QByteArray& pdu, std::int64_t nowMs) {
    if (u16(pdu, 1) != kCommandRegister)
        return exception(6, IllegalDataAddress);
    if (!engine.command(static_cast<std::uint16_t>(u16(pdu, 3)), nowMs))
        return exception(6, IllegalDataValue);
    return frame(pdu);
}

QByteArray ControllerSlave::writeMultipleRegisters(const QByteArray& pdu) {
    const int first = u16(pdu, 1);
    const int quantity = u16(pdu, 3);
    const int byteCount = u8(pdu, 5);
    if (quantity < 1 || quantity > 123 || byteCount != 2 * quantity || pdu.size() != 6 + byteCount)
        return exception(16, IllegalDataValue);
    if (first < kFirstHolding || first + quantity > kFirstHolding + kHoldingCount)
        return exception(16, IllegalDataAddress);
    // The tool's transaction counter only has to be taken; nothing here reads it back.
    return frame(pdu.left(5));
}

QByteArray ControllerSlave::readParameters(const QByteArray& pdu) const {
    const int address = u16(pdu, 1);
    const int count = u8(pdu, 3);
    if (count > kMaxParameterBytes)
        return exception(100, IllegalDataValue);
    if (!eeprom.contains(address, count))
        return exception(100, IllegalDataAddress);
    return frame(pdu.left(4) + eeprom.read(address, count));
}

QByteArray ControllerSlave::writeParameters(const QByteArray& pdu, Outcome& outcome) {
    const int address = u16(pdu, 1);
    const int count = u8(pdu, 3);
    if (pdu.size() != 4 + count)
        return exception(101, IllegalDataValue);
    if (!eeprom.contains(address, count))
        return exception(101, IllegalDataAddress);
    eeprom.write(address, pdu.mid(4, count));
    for (const StoreLimit& limit : store_limits) {
        if (limit.address + limit.size <= address || limit.address >= address + count)
            continue;
        std::int32_t stored = 0;
        for (int k = 0; k < limit.size; ++k)
            stored = stored * 256 + eeprom.at(limit.address + k);
        if (stored > limit.max)
            eeprom.storeBigEndian(limit.address, limit.size, limit.max);
    }
    outcome.eeprom_changed = count > 0;
    // The answer carries what the memory now holds, read back, from the address it was sent to.
    const QByteArray answer = frame(pdu.left(4) + eeprom.read(address, count));
    const int stored = eeprom.at(kAddressByte);
    if (address <= kAddressByte && kAddressByte < address + count && stored >= kMinSlaveAddress &&
        stored <= kMaxSlaveAddress)
        own_address = stored;
    return answer;
}

QByteArray ControllerSlave::exception(std::uint8_t function, Exception code) const {
    QByteArray pdu;
    pdu.append(static_cast<char>(function | 0x80));
    pdu.append(static_cast<char>(code));
    return frame(pdu);
}

QByteArray ControllerSlave::frame(QByteArray pdu) const {
    pdu.prepend(static_cast<char>(own_address));
    return AppendCrc(pdu);
}

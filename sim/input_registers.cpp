#include "input_registers.h"

namespace {
std::uint16_t high(std::int64_t v) {
    return static_cast<std::uint16_t>((v >> 16) & 0xFFFF);
}
std::uint16_t low(std::int64_t v) {
    return static_cast<std::uint16_t>(v & 0xFFFF);
}
std::uint16_t word(int v) {
    return static_cast<std::uint16_t>(v);
}
} // namespace

InputRegisters::Block InputRegisters::snapshot(const EngineModel& engine, int objectType) {
    using Phase = EngineModel::Phase;
    const bool gearbox = objectType == 1;
    const bool running = engine.phase() == Phase::Running;
    const bool cranking = engine.phase() == Phase::Cranking;
    const bool stopping = engine.phase() == Phase::RunningDown;
    const int rpm = engine.engineRpm();
    const int propellerRpm = gearbox && running ? rpm * 2 / 5 : 0;

    Block r{};
    r[0] = kProtocolVersion;
    r[1] = kSoftwareVersion;
    r[2] = word(objectType);
    r[3] = high(rpm);
    r[4] = low(rpm);
    r[5] = high(propellerRpm);
    r[6] = low(propellerRpm);
    r[7] = word(engine.coolantTemp());
    r[8] = word(engine.oilTemp());
    r[9] = word(engine.oilPressure());
    r[10] = word(engine.boostPressure(true));
    r[11] = word(engine.boostPressure(false));
    r[13] = word(gearbox ? engine.gearOilTemp() : 0);
    r[14] = word(gearbox && rpm > 0 ? engine.oilPressure() * 3 / 4 : 0);
    r[15] = word(engine.battery());

    // Discrete inputs of the panel: key switch, emergency stop loop closed, fuel valve, and
    // the oil-pressure switch that closes once the engine turns.
    r[66] = word(0x0A01 | (rpm > 0 ? 0x0010 : 0) | (running ? 0x0004 : 0));
    r[70] = ledWord(engine, objectType);
    r[72] = word(engine.minutesToService());
    r[73] = high(engine.totalMinutes());
    r[74] = low(engine.totalMinutes());

    // Signal words: running, ready, starter, stop solenoid first, then a few steady inputs.
    r[75] = word((running ? 0x0002 : 0) | (engine.phase() == Phase::Stopped ? 0x0004 : 0) |
                 (cranking ? 0x0008 : 0) | (stopping ? 0x0010 : 0) | 0x0100);
    r[76] = 0x0101;
    r[80] = 0x0010;
    r[88] = engine.protectionsOff() ? 0x8000 : 0;

    const auto& faults = engine.faultWords();
    for (int i = 0; i < EngineModel::kFaultWords; ++i)
        r[92 + i] = faults[i];
    return r;
}

std::uint16_t InputRegisters::ledWord(const EngineModel& engine, int objectType) {
    using Phase = EngineModel::Phase;
    const auto& faults = engine.faultWords();
    const bool running = engine.phase() == Phase::Running || engine.phase() == Phase::Cranking;
    std::uint16_t leds = kLedLocalPost;
    if (faults[0] != 0)
        leds |= kLedAlarm;
    if (faults[3] != 0)
        leds |= kLedFault;
    if (running)
        leds |= kLedRunning;
    if (engine.phase() == Phase::Stopped && faults[0] == 0)
        leds |= kLedReady;
    if (engine.protectionsOff())
        leds |= kLedProtectionsOff;
    if (objectType == 1 && engine.phase() == Phase::Running)
        leds |= kLedForward;
    if (objectType != 1 && engine.phase() == Phase::RunningDown)
        leds |= kLedStopping;
    return leds;
}

#pragma once

#include <array>
#include <cstdint>
#include <random>

// The engine behind the controller, just lively enough for the service tool: it starts, runs
// up to its working speed, stops, warms up and cools down, and keeps fault words that the
// acknowledge command clears. Time comes from outside (milliseconds of a steady clock), so
// tests can run it at any pace.
class EngineModel {
public:
    enum class Phase { Stopped, Cranking, Running, RunningDown };

    static constexpr std::uint16_t kStart = 0x1238;
    static constexpr std::uint16_t kStop = 0x4569;
    static constexpr std::uint16_t kAcknowledge = 0x789A;
    static constexpr std::uint16_t kProtectionsOff = 0xABC4;

    static constexpr int kWorkingRpm = 1500;
    static constexpr int kCrankingRpm = 250;
    static constexpr std::int64_t kCrankingMs = 1500;
    static constexpr int kRunUpRpmPerSecond = 400;
    static constexpr int kRunDownRpmPerSecond = 600;
    static constexpr int kFaultWords = 9;
    static constexpr std::int64_t kNoisePeriodMs = 500;
    static constexpr std::int64_t kStepMs = 100;

    EngineModel(std::int64_t nowMs, std::uint32_t seed);

    // One of the four command codes; false for any other value (nothing happens then).
    bool command(std::uint16_t code, std::int64_t nowMs);
    void advance(std::int64_t nowMs);

    Phase phase() const { return current; }
    int engineRpm() const { return static_cast<int>(rpm); }
    bool protectionsOff() const { return protections_off; }
    // Tenths of a degree, hundredths of kg/cm², tenths of a volt, as the registers carry them.
    int coolantTemp() const { return static_cast<int>(coolant); }
    int oilTemp() const { return static_cast<int>(oil); }
    int gearOilTemp() const { return static_cast<int>(gear_oil); }
    int oilPressure() const;
    int boostPressure(bool highStage) const;
    int battery() const { return static_cast<int>(battery_tenths); }
    std::int64_t totalMinutes() const { return total_minutes; }
    int minutesToService() const { return minutes_to_service; }
    const std::array<std::uint16_t, kFaultWords>& faultWords() const { return faults; }

private:
    void step(std::int64_t dtMs);
    // A small random walk, so that values on the screen breathe like real sensors.
    double wobble(double amplitude);
    static double approach(double value, double target, double maxStep);

    Phase current = Phase::Stopped;
    std::int64_t last_ms;
    std::int64_t last_noise_ms;
    std::int64_t phase_start_ms;
    std::int64_t running_ms = 0;
    double rpm = 0;
    double coolant = 186;
    double oil = 174;
    double gear_oil = 169;
    double battery_tenths = 245;
    std::int64_t total_minutes = 123456;
    int minutes_to_service = 5400;
    bool protections_off = false;
    // Current, saved and last words of the alarm, fault and internal-fault columns; the panel
    // remembers an oil-level warning and a sensor fault from an earlier run.
    std::array<std::uint16_t, kFaultWords> faults{0,      0x0004, 0x0004, 0x0002, 0x0010,
                                                  0x0010, 0,      0,      0x0001};
    std::mt19937 noise;
};

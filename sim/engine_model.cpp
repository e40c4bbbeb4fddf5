#include "engine_model.h"

#include <algorithm>
#include <cmath>

EngineModel::EngineModel(std::int64_t nowMs, std::uint32_t seed)
    : last_ms(nowMs), last_noise_ms(nowMs), phase_start_ms(nowMs), noise(seed) {}

bool EngineModel::command(std::uint16_t code, std::int64_t nowMs) {
    advance(nowMs);
    switch (code) {
    case kStart:
        if (current == Phase::Stopped || current == Phase::RunningDown) {
            current = Phase::Cranking;
            phase_start_ms = nowMs;
        }
        return true;
    case kStop:
        if (current != Phase::Stopped)
            current = Phase::RunningDown;
        return true;
    case kAcknowledge:
        faults.fill(0);
        return true;
    case kProtectionsOff:
        protections_off = !protections_off;
        return true;
    default:
        return false;
    }
}

void EngineModel::advance(std::int64_t nowMs) {
    // Small steps, so the engine behaves the same whether it is asked often or seldom.
    while (last_ms < nowMs)
        step(std::min(kStepMs, nowMs - last_ms));
}

void EngineModel::step(std::int64_t dtMs) {
    last_ms += dtMs;
    const std::int64_t nowMs = last_ms;
    const double dt = dtMs / 1000.0;

    switch (current) {
    case Phase::Stopped:
        rpm = 0;
        break;
    case Phase::Cranking:
        rpm = approach(rpm, kCrankingRpm, kCrankingRpm * 2 * dt);
        if (nowMs - phase_start_ms >= kCrankingMs)
            current = Phase::Running;
        break;
    case Phase::Running:
        rpm = approach(rpm, kWorkingRpm, kRunUpRpmPerSecond * dt);
        break;
    case Phase::RunningDown:
        rpm = approach(rpm, 0, kRunDownRpmPerSecond * dt);
        if (rpm <= 0)
            current = Phase::Stopped;
        break;
    }

    const bool running = current == Phase::Running || current == Phase::RunningDown;
    const bool cranking = current == Phase::Cranking;
    if (running) {
        // The hour meter runs a minute per second, so a demo shows it moving.
        running_ms += dtMs;
        const std::int64_t minutes = running_ms / 1000;
        running_ms %= 1000;
        total_minutes += minutes;
        minutes_to_service -= static_cast<int>(minutes);
    }

    coolant = approach(coolant, running ? 820 : 186, 6 * dt);
    oil = approach(oil, running ? 880 : 174, 5 * dt);
    gear_oil = approach(gear_oil, running ? 650 : 169, 3 * dt);
    const double batteryTarget = cranking ? 198 : (running ? 276 : 245);
    battery_tenths = approach(battery_tenths, batteryTarget, (cranking ? 80 : 4) * dt);

    if (nowMs - last_noise_ms >= kNoisePeriodMs) {
        last_noise_ms = nowMs;
        coolant += wobble(2);
        oil += wobble(2);
        gear_oil += wobble(1);
        battery_tenths = std::clamp(battery_tenths + wobble(1), 0.0, 400.0);
        if (current == Phase::Running && rpm >= kWorkingRpm - 5)
            rpm += wobble(3);
    }
}

int EngineModel::oilPressure() const {
    return rpm <= 0 ? 0 : static_cast<int>(120 + 330 * std::min(1.0, rpm / kWorkingRpm));
}

int EngineModel::boostPressure(bool highStage) const {
    const double load = std::min(1.0, rpm / kWorkingRpm);
    return static_cast<int>((highStage ? 180 : 95) * load * load);
}

double EngineModel::wobble(double amplitude) {
    std::uniform_int_distribution<int> step(-1, 1);
    return step(noise) * amplitude;
}

double EngineModel::approach(double value, double target, double maxStep) {
    if (value < target)
        return std::min(target, value + maxStep);
    return std::max(target, value - maxStep);
}

#include "fault_injector.h"

FaultInjector::FaultInjector(double drop, double corrupt, double split, std::uint32_t seed)
    : drop(drop), corrupt(corrupt), split(split), random(seed) {}

FaultInjector::Plan FaultInjector::next() {
    // Every answer draws all three, so one fault's probability does not shift the others'.
    Plan plan;
    plan.drop = chance(drop);
    plan.corrupt = chance(corrupt);
    plan.split = chance(split);
    return plan;
}

QByteArray FaultInjector::corrupted(QByteArray answer) {
    if (!answer.isEmpty())
        answer[answer.size() - 1] = static_cast<char>(answer[answer.size() - 1] ^ 0x5A);
    return answer;
}

bool FaultInjector::chance(double probability) {
    // Drawn as a plain 32-bit number, so a seed gives the same faults with every library.
    const double draw = static_cast<double>(random()) / 4294967296.0;
    return draw < probability;
}

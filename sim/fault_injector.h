#pragma once

#include <QByteArray>
#include <cstdint>
#include <random>

// Makes the line as unreliable as asked: answers that never come, arrive with a bad CRC, or
// arrive in two parts. With a fixed seed the same run of requests meets the same faults.
class FaultInjector {
public:
    static constexpr int kSplitGapMs = 150;

    struct Plan {
        bool drop = false;
        bool corrupt = false;
        bool split = false;
    };

    FaultInjector(double drop, double corrupt, double split, std::uint32_t seed);

    // Decides the fate of the next answer.
    Plan next();
    // The answer with its CRC spoiled (the data stays as it was).
    static QByteArray corrupted(QByteArray answer);

private:
    bool chance(double probability);

    double drop;
    double corrupt;
    double split;
    std::mt19937 random;
};

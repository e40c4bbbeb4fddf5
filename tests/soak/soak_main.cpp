// zarn-soak: the fault soak of the parameter transfers (make soak). Not part of the test suite:
// it runs for minutes against a simulator that loses, spoils and splits answers.
//   SOAK_SECONDS  how long to go on starting rounds (default 180)
//   SOAK_SEED     seed of the edits and of the simulator's faults (default: random, printed)
// ZARN_SIM names the simulator. Exit status 0 only when nothing was lost or misapplied and the
// resident memory stayed flat.
#include "fault_soak.h"
#include "process_usage.h"
#include "sim_process.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <random>
#include <unistd.h>

namespace {
constexpr int kDefaultSeconds = 180;
// Rounds before the memory is taken as settled (caches, fonts, the first save of the image).
constexpr int kWarmUpRounds = 2;
constexpr long kGrowthAllowedKib = 1024;
constexpr int kOpeningTimeoutMs = 180000;

std::uint32_t seedFromEnvironment() {
    bool ok = false;
    const std::uint32_t seed = qEnvironmentVariable("SOAK_SEED").toUInt(&ok);
    return ok ? seed : std::random_device()();
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    bool ok = false;
    int seconds = qEnvironmentVariableIntValue("SOAK_SECONDS", &ok);
    if (!ok || seconds <= 0)
        seconds = kDefaultSeconds;
    const std::uint32_t seed = seedFromEnvironment();

    SimProcess sim;
    const QString eepromFile = sim.filePath("eeprom.bin");
    if (!sim.start({"--drop", "0.3", "--corrupt", "0.1", "--split", "0.05", "--eeprom-file",
                    eepromFile, "--seed", QString::number(seed)})) {
        std::fprintf(stderr, "soak: %s\n", qPrintable(sim.errorText()));
        return 2;
    }
    ToolRig rig(sim.linkPath(), QFileInfo(eepromFile).path());
    if (!rig.start()) {
        std::fprintf(stderr, "soak: the simulator's line %s did not open\n",
                     qPrintable(sim.linkPath()));
        return 2;
    }
    if (!rig.runTransfer([&rig] { rig.openParamWindow(); }, kOpeningTimeoutMs)) {
        std::fprintf(stderr, "soak: the read-all of the opening parameter window did not finish\n");
        return 2;
    }
    std::printf("soak: %d s against zarn-sim --drop 0.3 --corrupt 0.1 --split 0.05, seed %u\n",
                seconds, seed);
    std::fflush(stdout);

    FaultSoak soak(rig, eepromFile, seed);
    QList<long> resident;
    QElapsedTimer clock;
    clock.start();
    bool stuck = false;
    while (clock.elapsed() < seconds * 1000LL) {
        stuck = !soak.round();
        resident.append(ResidentKib(getpid()));
        std::printf("round %d: %.0f s, %d boxes edited so far, %d mismatches, slave address %d, "
                    "resident %ld KiB\n",
                    soak.rounds(), clock.elapsed() / 1000.0, soak.editedBoxes(),
                    soak.mismatchCount(), rig.tool.window().slaveAddress(), resident.last());
        std::fflush(stdout);
        if (stuck)
            break;
    }

    const long first = resident.value(0);
    const long settled = resident.value(std::min<qsizetype>(kWarmUpRounds, resident.size()) - 1);
    const long peak = *std::max_element(resident.begin(), resident.end());
    const long last = resident.value(resident.size() - 1);
    const bool grew = resident.size() > kWarmUpRounds && peak - settled > kGrowthAllowedKib;

    std::printf("\nsoak summary\n");
    std::printf("  rounds %d in %.0f s (read-all, edit, write-all, read-all each)\n", soak.rounds(),
                clock.elapsed() / 1000.0);
    std::printf("  boxes edited %d; ticks %d, frames answered %d (%.0f %% of ticks)\n",
                soak.editedBoxes(), rig.ticks(), rig.answeredFrames(),
                100.0 * rig.answeredFrames() / std::max(1, rig.ticks()));
    std::printf("  mismatches %d\n", soak.mismatchCount());
    for (const QString& what : soak.mismatches())
        std::printf("    %s\n", qPrintable(what));
    std::printf("  resident memory KiB: first %ld, after warm-up %ld, last %ld, max %ld%s\n", first,
                settled, last, peak, grew ? " — GREW beyond the allowed 1024 KiB" : " (flat)");
    const bool passed = !stuck && soak.mismatchCount() == 0 && !grew;
    std::printf("soak %s\n", passed ? "PASSED" : "FAILED");
    return passed ? 0 : 1;
}

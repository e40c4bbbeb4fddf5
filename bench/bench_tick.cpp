// The work of one exchange tick with the real windows, timed by Google Benchmark: drain the
// answer from the port, check its CRC, decode it and rewrite the controls.
#include "fake_byte_line.h"
#include "frames.h"
#include "link/exchange_cycle.h"
#include "live/poll_decoder.h"
#include "params/param_answers.h"
#include "params/param_requests.h"
#include "views/main_window.h"
#include "views/param_window/param_window.h"

#include <QApplication>
#include <QDir>
#include <benchmark/benchmark.h>
#include <random>

namespace {
constexpr QChar kSeparator = u',';
constexpr int kSlave = 7;

// Two poll answers whose every register differs, so each tick really changes every control.
QList<QByteArray> PollAnswers() {
    std::mt19937 random(604);
    QList<QByteArray> answers;
    for (int a = 0; a < 2; ++a) {
        QByteArray frame;
        frame.append(char(kSlave)).append(char(4)).append(char(250));
        for (int k = 0; k < 125; ++k) {
            const int value = std::uniform_int_distribution<int>(0, 0xFFFF)(random);
            frame.append(char(value >> 8)).append(char(value & 0xFF));
        }
        // Register 2 is the object type: keep it known, flipping between the two looks.
        frame[3 + 4] = 0;
        frame[3 + 5] = char(a);
        answers.append(WithCrc(frame));
    }
    return answers;
}

// The answers to the 59 blocks of a read-all, twice over with different bytes.
QList<QByteArray> ReadAllAnswers(const ParamCatalogue& catalogue) {
    std::mt19937 random(605);
    QList<QByteArray> answers;
    for (int round = 0; round < 2; ++round) {
        for (const ParamBlock& block : ReadBlocks(catalogue)) {
            const int address = catalogue.param_address[block.first];
            QByteArray frame;
            frame.append(char(kSlave)).append(char(100));
            frame.append(char(address >> 8)).append(char(address & 0xFF)).append(char(block.bytes));
            for (int b = 0; b < block.bytes; ++b)
                frame.append(char(std::uniform_int_distribution<int>(0, 255)(random)));
            answers.append(WithCrc(frame));
        }
    }
    return answers;
}

struct Rig {
    Rig() : poll(kSeparator), cycle(port, frm_main, poll) {
        frm_main.fillSlaveAddresses();
        frm_main.createSignalGrid();
        poll.show_poll = [this](const PollPicture& p) { frm_main.showPoll(p); };
        answers.showIn(&frm_param);
        port.open();
    }

    // One tick that finds `answer` waiting; the frame it sends is thrown away.
    void tick(const QByteArray& answer) {
        port.feed(answer);
        cycle.ExchangeTick();
        port.written.clear();
    }

    const ParamCatalogue& catalogue = Catalogue();
    MainWindow frm_main;
    ParamWindow frm_param{&frm_main, QDir::tempPath()};
    FakeByteLine port;
    PollDecoder poll;
    ExchangeCycle cycle;
    ControllerImage image;
    ParamAnswers answers{cycle, catalogue, kSeparator, image};
};

// Made in main(), after the application object and gone before it.
Rig* rig_in_use = nullptr;

Rig& TheRig() {
    return *rig_in_use;
}

// Drain 255 bytes, CRC, decode the poll and rewrite the main window's controls. With one answer
// nothing changes from tick to tick (the usual case); with two, every value and most signals
// change on every tick.
void BM_PollTick(benchmark::State& state) {
    Rig& rig = TheRig();
    const QList<QByteArray> answers = PollAnswers();
    std::size_t n = 0;
    const std::size_t variants = static_cast<std::size_t>(state.range(0));
    for (auto _ : state)
        rig.tick(answers[n++ % variants]);
}
BENCHMARK(BM_PollTick)->ArgName("answers")->Arg(1)->Arg(2);

// The same with the main window shown, and the repaint that the rewrite causes done before the
// next tick, as the event loop does it between ticks.
void BM_PollTickPainted(benchmark::State& state) {
    Rig& rig = TheRig();
    rig.frm_main.show();
    QApplication::processEvents();
    const QList<QByteArray> answers = PollAnswers();
    std::size_t n = 0;
    for (auto _ : state) {
        rig.tick(answers[n++ % 2]);
        QApplication::processEvents();
    }
    rig.frm_main.hide();
}
BENCHMARK(BM_PollTickPainted);

// One answer of a read-all (up to 10 parameters): drain, CRC, decode, boxes rewritten and
// coloured, the parameter window shown and repainted.
void BM_ParamAnswerTick(benchmark::State& state) {
    Rig& rig = TheRig();
    rig.frm_param.show();
    QApplication::processEvents();
    const QList<QByteArray> answers = ReadAllAnswers(rig.catalogue);
    std::size_t n = 0;
    for (auto _ : state) {
        // The read the answer belongs to is in flight by the next tick.
        rig.cycle.queue(AnsweredBy(ParamReadRequest(0, 1), rig.answers));
        rig.tick(answers[n++ % answers.size()]);
        QApplication::processEvents();
    }
    rig.frm_param.hide();
}
BENCHMARK(BM_ParamAnswerTick);
// What the open parameter window does on its own every 500 ms: look for drives that came or
// went.
void BM_DriveWatch(benchmark::State& state) {
    Rig& rig = TheRig();
    rig.frm_param.show();
    QApplication::processEvents();
    for (auto _ : state) {
        emit rig.frm_param.driveWatchTick();
        QApplication::processEvents();
    }
    rig.frm_param.hide();
}
BENCHMARK(BM_DriveWatch);
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Rig rig;
    rig_in_use = &rig;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

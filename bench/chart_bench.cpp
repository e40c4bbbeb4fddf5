#include "bench_scenarios.h"
#include "history/session_recorder.h"
#include "process_usage.h"
#include "tool_session.h"
#include "views/chart_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unistd.h>

void FillHistory(EngineHistory& history, std::int64_t endMs, int samples) {
    for (int i = 0; i < samples; ++i) {
        EngineSample sample{endMs - 200LL * (samples - i), {}};
        for (int q = 0; q < kQuantityCount; ++q)
            // Whole numbers, as registers hold them: the decimation's cost depends on it.
            sample.raw[q] =
                static_cast<float>(std::round(1000 + 500 * std::sin(i / (300.0 + 40 * q))));
        history.append(sample);
    }
}

void ShowAllQuantities(QWidget& chartWindow) {
    for (QCheckBox* box : chartWindow.findChildren<QCheckBox*>())
        box->setChecked(true);
}

int ChartsDay(int repeats) {
    const long empty = ResidentKib(getpid());
    SessionRecorder recorder(u',');
    const int day = EngineHistory::kMaxSamples;
    FillHistory(recorder.history(), QDateTime::currentMSecsSinceEpoch(), day);
    const long full = ResidentKib(getpid());

    ChartWindow window(recorder, u',');
    window.resize(1100, 650);
    window.show();
    ShowAllQuantities(window);
    window.findChild<QComboBox*>("span")->setCurrentText(QStringLiteral("Всё"));
    ToolSession::runFor(500);
    QList<double> ms;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        window.redraw();
        QCoreApplication::processEvents(); // the queued replot and the paint
        ms.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("chart window, 24 h history (%d samples), all 10 quantities, span «Всё»\n", day);
    std::printf("  redraw                       median %.1f ms, slowest %.1f ms of %d "
                "(goal <= 30 ms)\n",
                ms[ms.size() / 2], ms.last(), repeats);
    std::printf("  resident memory of samples   +%.1f MB (goal <= 40 MB)\n",
                (full - empty) / 1024.0);
    return 0;
}

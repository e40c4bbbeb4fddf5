#include "bench_scenarios.h"
#include "disk/csv_log_file.h"
#include "history/recording_file.h"
#include "history/recording_line.h"
#include "process_usage.h"
#include "scripted_messages.h"
#include "tool_session.h"
#include "views/chart_window.h"
#include "views/recording_window.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace {
// A day recorded at five answers a second, the values moving as FillHistory's do.
bool WriteRecordedDay(const QString& path, int rows) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(CsvFileStart(RecordingHeader()));
    const std::int64_t start = QDateTime::currentMSecsSinceEpoch() - 200LL * rows;
    QuantityValues values{};
    for (int i = 0; i < rows; ++i) {
        for (int q = 0; q < kQuantityCount; ++q)
            values[q] = std::llround(1000 + 500 * std::sin(i / (300.0 + 40 * q)));
        file.write((RecordingLine(start + 200LL * i, values, true, u',') + "\r\n").toUtf8());
    }
    return file.flush();
}

double Median(QList<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}
} // namespace

int RecordingDay(int repeats) {
    QTemporaryDir dir;
    const QString path = dir.filePath("day.csv");
    const int day = EngineHistory::kMaxSamples;
    if (!WriteRecordedDay(path, day))
        return 1;

    // As the user opens it: read, the window made and shown, its first redraw painted.
    ScriptedMessages messages;
    QElapsedTimer opening;
    opening.start();
    ChartWindow* window = OpenRecordingWindow(path, u',', messages, nullptr);
    if (!window)
        return 1;
    QCoreApplication::processEvents();
    const double openMs = opening.nsecsElapsed() / 1e6;

    window->resize(1100, 650);
    ShowAllQuantities(*window);
    ToolSession::runFor(500);
    QList<double> redraws;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        window->redraw();
        QCoreApplication::processEvents(); // the queued replot and the paint
        redraws.append(timer.nsecsElapsed() / 1e6);
    }
    // Read again while the window holds its day, so that each read's block is new memory.
    QList<double> reads;
    long loadedKib = 0;
    for (int i = 0; i < repeats; ++i) {
        const long before = ResidentKib(getpid());
        QElapsedTimer timer;
        timer.start();
        const RecordingFile recording(path);
        reads.append(timer.nsecsElapsed() / 1e6);
        // The first: a block freed is taken again by the next read without growing.
        if (i == 0)
            loadedKib = ResidentKib(getpid()) - before;
        if (recording.history().size() != day || !recording.omissions().isEmpty())
            return 1;
    }

    std::printf("recording file of a day (%d rows, %.1f MB), read back\n", day,
                QFile(path).size() / 1048576.0);
    std::printf("  read into the samples        median %.0f ms of %d (file in the page cache)\n",
                Median(reads), repeats);
    std::printf("  opened: read, window shown   %.0f ms (goal <= 3000 ms)\n", openMs);
    std::printf("  redraw, all 10, «Всё»        median %.1f ms, slowest %.1f ms of %d "
                "(goal <= 30 ms)\n",
                Median(redraws), *std::max_element(redraws.begin(), redraws.end()), repeats);
    std::printf("  resident memory of a loaded day +%.1f MB (goal <= 40 MB)\n", loadedKib / 1024.0);
    delete window;
    return 0;
}

#pragma once

#include <QString>
#include <atomic>
#include <chrono>
#include <optional>
#include <thread>

// A pseudo-terminal whose master side this process holds, for a tool to open as its serial
// device. A thread of its own waits on the master side, so the moment the first byte of the
// tool's first frame arrives is taken without waiting for any event loop.
class PtyLine {
public:
    using Clock = std::chrono::steady_clock;

    PtyLine();
    ~PtyLine();
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    bool isValid() const { return master >= 0; }
    QString slavePath() const { return path; }

    // When the first byte arrived; nothing while none has.
    std::optional<Clock::time_point> firstByte() const;

private:
    void watch();

    int master = -1;
    int slave_hold = -1;
    QString path;
    std::atomic<bool> stopping{false};
    std::atomic<Clock::rep> first_byte{0};
    std::thread watcher;
};

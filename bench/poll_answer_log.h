#pragma once

#include <QList>
#include <QObject>
#include <chrono>

class QProcess;

// The poll answers that a simulator started with --verbose reports sending, each with the time
// its line was read here. Without faults every answer sent is an answer the tool receives.
class PollAnswerLog : public QObject {
public:
    using Clock = std::chrono::steady_clock;

    explicit PollAnswerLog(QProcess& simulator);

    // Poll answers per second between the first and the last one logged since `from`.
    double ratePerSecond(Clock::time_point from) const;

private:
    void readLines();

    QProcess& simulator;
    QList<Clock::time_point> sent;
};

#include "poll_answer_log.h"

#include <QProcess>
#include <algorithm>

PollAnswerLog::PollAnswerLog(QProcess& simulator) : simulator(simulator) {
    simulator.setReadChannel(QProcess::StandardError);
    connect(&simulator, &QProcess::readyReadStandardError, this, &PollAnswerLog::readLines);
}

void PollAnswerLog::readLines() {
    const Clock::time_point now = Clock::now();
    while (simulator.canReadLine()) {
        // "tx AA 04 FA ...": slave address, function 4, 250 data bytes.
        const QByteArray line = simulator.readLine();
        if (line.startsWith("tx ") && line.mid(6, 5) == "04 FA")
            sent.append(now);
    }
}

double PollAnswerLog::ratePerSecond(Clock::time_point from) const {
    const auto first = std::lower_bound(sent.begin(), sent.end(), from);
    const qsizetype count = sent.end() - first;
    if (count < 2)
        return 0;
    const std::chrono::duration<double> span = sent.last() - *first;
    return static_cast<double>(count - 1) / span.count();
}

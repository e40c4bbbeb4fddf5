#include "e2e_link.h"

#include "link/frame_crc.h"

#include <QDeadlineTimer>
#include <QTest>

namespace {
const QByteArray kPollRead = QByteArray::fromHex("04012C007D");
}

void AnsweredRequests::DecodeAnswer(const RxBuffer& answer) {
    // The cycle has moved queue_read past the request it judged answered.
    const int slot = (ring.queue_read + RequestQueue::kSlots - 1) % RequestQueue::kSlots;
    const auto& frame = ring.queue_frames[slot];
    exchanges.append(
        {QByteArray(reinterpret_cast<const char*>(frame.data()) + 1, ring.queue_last[slot]),
         QByteArray(reinterpret_cast<const char*>(answer.rx_buffer.data()), answer.rx_count)});
}

E2eLink::E2eLink(const QString& devicePath)
    : port([devicePath](int com) { return com == 1 ? devicePath : QString(); }),
      cycle(port, host, answered), answered(cycle.request_queue) {
    timer.setInterval(kTickMs);
    QObject::connect(&timer, &QTimer::timeout, [this] { cycle.ExchangeTick(); });
}

OpenOutcome E2eLink::start() {
    const OpenOutcome outcome = port.open();
    timer.start();
    return outcome;
}

QByteArray E2eLink::ask(const QByteArray& fromFunctionCode, int timeoutMs) {
    const qsizetype seen = answered.exchanges.size();
    if (!cycle.request_queue.append(reinterpret_cast<const std::uint8_t*>(fromFunctionCode.data()),
                                    static_cast<int>(fromFunctionCode.size())))
        return {};
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        for (qsizetype i = seen; i < answered.exchanges.size(); ++i) {
            if (answered.exchanges[i].request == fromFunctionCode)
                return answered.exchanges[i].answer;
        }
        QTest::qWait(10);
    }
    return {};
}

QByteArray E2eLink::nextPoll(int timeoutMs) {
    const qsizetype seen = answered.exchanges.size();
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        for (qsizetype i = seen; i < answered.exchanges.size(); ++i) {
            if (answered.exchanges[i].request == kPollRead)
                return answered.exchanges[i].answer;
        }
        QTest::qWait(10);
    }
    return {};
}

bool E2eLink::waitForExchanges(int count, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (answered.exchanges.size() < count && !deadline.hasExpired())
        QTest::qWait(10);
    return answered.exchanges.size() >= count;
}

int PollRegister(const QByteArray& answer, int k) {
    const int cell = 3 + 2 * k;
    if (answer.size() < cell + 2)
        return -1;
    return 256 * static_cast<std::uint8_t>(answer[cell]) +
           static_cast<std::uint8_t>(answer[cell + 1]);
}

bool EndsInGoodCrc(const QByteArray& frame) {
    const int n = static_cast<int>(frame.size());
    if (n < 3)
        return false;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(frame.constData());
    return FrameCrc(bytes, n - 3) == bytes[n - 2] + 256 * bytes[n - 1];
}

#include "link/tcp_line.h"
#include "waiting_bytes.h"

#include <QEventLoop>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <functional>
#include <memory>

// The line to a serial device server, against a server of the test's own on the loopback; the
// line's clock is the test's, so time-outs and the pause between attempts need no waiting.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kFreedMemoryHeldBack = true;
#elif defined(__has_feature)
constexpr bool kFreedMemoryHeldBack = __has_feature(address_sanitizer);
#else
constexpr bool kFreedMemoryHeldBack = false;
#endif

namespace {
constexpr int kWaitMs = 5000;

struct Rig {
    QTcpServer server;
    quint16 port = 0;
    std::int64_t now_us = 1'000'000;
    std::unique_ptr<TcpLine> line;
    QTcpSocket* peer = nullptr; // the server's end of the line's connection

    Rig() {
        server.listen(QHostAddress::LocalHost);
        port = server.serverPort();
        line =
            std::make_unique<TcpLine>("127.0.0.1", server.serverPort(), [this] { return now_us; });
    }
    QString where() const { return "127.0.0.1:" + QString::number(port); }
    bool carrying() {
        if (!QTest::qWaitFor([&] { return line->state() == LineState::Carrying; }, kWaitMs) ||
            (!server.hasPendingConnections() && !server.waitForNewConnection(kWaitMs)))
            return false;
        peer = server.nextPendingConnection();
        return peer != nullptr;
    }
    // The status line's words once the line is down.
    QString downText() {
        return QTest::qWaitFor([&] { return line->state() == LineState::Down; }, kWaitMs)
                   ? line->stateText()
                   : QString();
    }
};

// Runs the event loop (never sleeping, as the tool's own does), calling `step` every `ms` until
// it returns true; false after 30 s.
bool runEvery(int ms, const std::function<bool()>& step) {
    QEventLoop loop;
    QTimer timer;
    bool done = false;
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        if ((done = step()))
            loop.quit();
    });
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    timer.start(ms);
    loop.exec();
    return done;
}

// Peak resident memory of this process, in KiB.
long peakKib() {
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& row : status.readAll().split('\n'))
        if (row.startsWith("VmHWM:"))
            return row.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}
} // namespace

class TcpLineTest : public QObject {
    Q_OBJECT
private slots:
    // Opening returns at once (the frames then pass as the end-to-end test shows). A lost
    // connection is told, tried again (a second has passed since the last attempt) and carries
    // again.
    void connectsAndComesBack() {
        Rig rig;
        QCOMPARE(rig.line->open(), OpenOutcome::Opened);
        QCOMPARE(rig.line->state(), LineState::Connecting);
        QCOMPARE(rig.line->stateText(), "Подключение к " + rig.where() + "…");
        QCOMPARE(rig.line->open(), OpenOutcome::Held);
        QVERIFY(rig.carrying());
        QCOMPARE(rig.line->stateText(), QString());

        rig.now_us += 5'000'000;
        rig.peer->close();
        QCOMPARE(rig.downText(), "Нет связи с " + rig.where() + ": соединение потеряно");
        QVERIFY(rig.carrying());
    }

    // Refused: told, and not tried again before a second has passed since the attempt.
    void refusedThenPaced() {
        Rig rig;
        rig.server.close();
        rig.line->open();
        QCOMPARE(rig.downText(), "Нет связи с " + rig.where() + ": соединение отклонено");
        QVERIFY(rig.server.listen(QHostAddress::LocalHost, rig.port));
        rig.now_us += 999'000;
        QCOMPARE(rig.line->state(), LineState::Down);
        QTest::qWait(100); // time enough for a loopback connection to be taken
        QVERIFY(!rig.server.hasPendingConnections());
        rig.now_us += 1'000;
        rig.line->state();
        QVERIFY(rig.carrying());
    }

    // No connection within 2 s (the line's clock moved on before the connection was reported);
    // a host under .invalid does not exist.
    void timeOutAndUnknownHost() {
        Rig rig;
        rig.line->open();
        rig.now_us += 1'999'999;
        QCOMPARE(rig.line->state(), LineState::Connecting);
        rig.now_us += 1;
        QCOMPARE(rig.line->state(), LineState::Down);
        QCOMPARE(rig.line->stateText(), "Нет связи с " + rig.where() + ": нет соединения за 2 с");

        TcpLine nowhere("converter.invalid", 4001);
        nowhere.open();
        QVERIFY(QTest::qWaitFor([&] { return nowhere.state() == LineState::Down; }, 15000));
        QCOMPARE(nowhere.stateText(), "Нет связи с converter.invalid:4001: узел не найден");
    }

    // 100 MB of noise is read and dropped: what waits stays within one answer's worth and the
    // process's peak memory grows by far less than the noise; when the noise stops, an answer
    // comes through alone. Frames the peer never takes are not kept either.
    void floodIsDropped() {
        Rig rig;
        rig.line->open();
        QVERIFY(rig.carrying());
        const long peakBefore = peakKib();
        const QByteArray noise(1 << 20, '\x55');
        int chunks = 0;
        int mostWaiting = 0;
        const auto sendMore = [&] {
            while (chunks < 100 && rig.peer->bytesToWrite() < noise.size()) {
                rig.peer->write(noise);
                ++chunks;
            }
        };
        connect(rig.peer, &QTcpSocket::bytesWritten, this, sendMore);
        sendMore();
        QVERIFY(runEvery(1, [&] {
            mostWaiting = std::max(mostWaiting, rig.line->waitingBytes());
            return chunks == 100 && rig.peer->bytesToWrite() == 0;
        }));
        QVERIFY(mostWaiting <= TcpLine::kKeptBytes);
        qInfo("100 MB of noise: at most %d bytes waited, peak memory +%ld KiB", mostWaiting,
              peakKib() - peakBefore);
        // AddressSanitizer holds freed blocks back for a while, so the peak there says nothing.
        QVERIFY2(kFreedMemoryHeldBack || peakKib() - peakBefore < 16 * 1024,
                 qPrintable(QString::number(peakKib() - peakBefore) + " KiB more at the peak"));

        // Ticks as the exchange's: each drains everything waiting and judges it; the peer sends
        // the answer again until one comes alone.
        const QByteArray answer = QByteArray::fromHex("070400C0F1");
        QByteArray taken;
        QVERIFY(runEvery(20, [&] {
            taken = TakeWaiting(*rig.line);
            if (taken != answer)
                rig.peer->write(answer);
            return taken == answer;
        }));
        QCOMPARE(taken, answer);

        // Nor the other way: 40 MB of frames to a peer that takes none are not piled up.
        const long peakBeforeFrames = peakKib();
        for (int i = 0; i < 160000; ++i)
            rig.line->write(QByteArray(256, '\x07'));
        QVERIFY2(kFreedMemoryHeldBack || peakKib() - peakBeforeFrames < 16 * 1024,
                 qPrintable(QString::number(peakKib() - peakBeforeFrames) + " KiB more"));
    }
};

QTEST_GUILESS_MAIN(TcpLineTest)
#include "test_tcp_line.moc"

#include "link/qt_serial_line.h"
#include "waiting_bytes.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {
// A pseudo-terminal as the device, and the tool's line on it. The test plays the
// controller on the master side and holds the slave side open itself, so bytes sent while the
// port is closed wait in the line as on a real device.
struct Line {
    int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    QString pty = grantpt(master) || unlockpt(master) ? QString() : ptsname(master);
    int slave = ::open(ptsname(master), O_RDWR | O_NOCTTY | O_NONBLOCK);
    // The line as the suite lets a test reach it: through a link in a folder of its own.
    QTemporaryDir folder;
    QString path = QFile::link(pty, folder.filePath("tty")) ? folder.filePath("tty") : QString();
    std::unique_ptr<QtSerialLine> other;
    QtSerialLine port{path};

    Line() { setRaw(false); }
    ~Line() { hangUp(); }
    // Raw, or as a tool killed with the line open leaves it: raw, even parity, 115200 baud.
    void setRaw(bool likeAKilledProgram) {
        termios tio{};
        tcgetattr(slave, &tio);
        cfmakeraw(&tio);
        if (likeAKilledProgram)
            tio.c_cflag |= PARENB | CLOCAL | CREAD, tio.c_iflag |= IGNPAR,
                cfsetspeed(&tio, B115200);
        tcsetattr(slave, TCSANOW, &tio);
    }
    // The far end goes away, like a pulled adapter.
    void hangUp() {
        ::close(slave);
        ::close(master);
        slave = master = -1;
    }
};
using Setup = std::function<void(Line&)>;

// Set in a child run of this test: the path its port tries.
const char* const kTryPath = "ZARN_TRY_PATH";
} // namespace

Q_DECLARE_METATYPE(OpenOutcome)
Q_DECLARE_METATYPE(Setup)

class QtSerialLineTest : public QObject {
    Q_OBJECT
private slots:
    void openOutcomes_data() {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<OpenOutcome>("outcome");
        using enum OpenOutcome;
        QTest::newRow("free pty") << Setup([](Line&) {}) << Opened;
        QTest::newRow("already open here") << Setup([](Line& l) { l.port.open(); }) << Held;
        QTest::newRow("open in another port object") << Setup([](Line& l) {
            l.other = std::make_unique<QtSerialLine>(l.path);
            QCOMPARE(l.other->open(), Opened);
        }) << Held;
        QTest::newRow("settings of a killed program")
            << Setup([](Line& l) { l.setRaw(true); }) << Opened;
        QTest::newRow("no device behind the path")
            << Setup([](Line& l) { QFile::remove(l.path); }) << NotAvailable;
    }
    void openOutcomes() {
        QFETCH(Setup, setup);
        QFETCH(OpenOutcome, outcome);
        Line l;
        QVERIFY(l.slave >= 0);
        setup(l);
        if (QTest::currentTestFailed())
            return;
        const bool openBefore = l.port.isOpen();
        QCOMPARE(l.port.open(), outcome);
        QCOMPARE(l.port.isOpen(), openBefore || outcome == OpenOutcome::Opened);
    }

    // Bytes that reached the device before the open answer nothing. The line runs at 115200 8E1
    // (read from the port: a pty has no parity or baud rate); every byte value reaches the tool,
    // also through a drain that never returns to the event loop, as the tool's timer drains.
    void opensCleanAndPassesEveryByte() {
        Line l;
        QCOMPARE(::write(l.master, "\x04\x05", 2), 2);
        int atDevice = 0;
        QTRY_VERIFY(ioctl(l.slave, FIONREAD, &atDevice) == 0 && atDevice == 2);
        QCOMPARE(l.port.open(), OpenOutcome::Opened);
        const QSerialPort& s = l.port.line();
        QCOMPARE(
            (QList<int>{s.baudRate(), s.parity(), s.dataBits(), s.stopBits(), s.flowControl()}),
            (QList<int>{115200, QSerialPort::EvenParity, 8, 1, QSerialPort::NoFlowControl}));
        QByteArray all, drained;
        for (int value = 0; value < 256; ++value)
            all.append(char(value));
        QCOMPARE(::write(l.master, all.data(), all.size()), all.size());
        for (QDeadlineTimer deadline(5000); drained.size() < all.size() && !deadline.hasExpired();)
            drained += TakeWaiting(l.port);
        QCOMPARE(drained, all);
    }

    // Response times run from when a frame left to when the last bytes of its answer came in,
    // not from the ticks that wrote and read them: each stamp, steady-clock microseconds, lies
    // between what the test saw just before and just after, exchange after exchange.
    void stampsWhenBytesLeaveAndArrive() {
        Line l;
        QCOMPARE(l.port.open(), OpenOutcome::Opened);
        const auto now = [] {
            using namespace std::chrono;
            return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
        };
        const auto waiting = [&l](int n) { return l.port.line().bytesAvailable() == n; };
        const auto fromMaster = [&l] {
            char bytes[16];
            return QByteArray(bytes, std::max<ssize_t>(0, ::read(l.master, bytes, sizeof bytes)));
        };
        const QByteArray frame("\x07\x04\x01\x2C\x00\x7D\xF0\x78", 8);
        for (int exchange = 0; exchange < 2; ++exchange) {
            const std::int64_t queued = now();
            l.port.write(frame);
            QByteArray got;
            QTRY_COMPARE(got += fromMaster(), frame);
            // Qt tells of bytes written on the event loop's next pass after they left.
            QTRY_VERIFY(l.port.writeDoneUs() >= queued);
            QVERIFY(l.port.writeDoneUs() <= now());
            QCOMPARE(::write(l.master, "\x07\x04", 2), 2);
            QTRY_VERIFY(waiting(2));
            const std::int64_t rest = now();
            QCOMPARE(::write(l.master, "\x00\xC2\xC1", 3), 3);
            QTRY_VERIFY(waiting(5));
            const std::int64_t seen = now();
            while (now() == seen) {
            }
            QCOMPARE(l.port.waitingBytes(), 5); // the tick
            QVERIFY(rest <= l.port.lastArrivalUs() && l.port.lastArrivalUs() <= seen);
            TakeWaiting(l.port);
        }
    }

    // The user can reopen once a device is back behind the path.
    void hungUpLineClosesThePort() {
        Line l, again;
        QCOMPARE(l.port.open(), OpenOutcome::Opened);
        l.hangUp();
        QTRY_VERIFY(l.port.waitingBytes() == 0 && !l.port.isOpen());
        QVERIFY(QFile::remove(l.path) && QFile::link(again.pty, l.path));
        QCOMPARE(l.port.open(), OpenOutcome::Opened);
    }

    // A test's line leads only into its own folder: the port ends the test before it opens any
    // other device. Tried in child runs of this test, harmless targets first (the test's own pty
    // by its /dev/pts path, a link out to /dev/null), so that a fence letting them through stops
    // this test before it would try /dev/ttyS0, which an inotify watch sees never opened.
    void fenceEndsATestReachingOut() {
        if (qEnvironmentVariableIsSet(kTryPath)) {
            QtSerialLine port(qEnvironmentVariable(kTryPath));
            port.open();
            return;
        }
        Line own;
        QVERIFY(QFile::link("/dev/null", own.folder.filePath("null")));
        const int watch = inotify_init1(IN_NONBLOCK);
        const bool watched = inotify_add_watch(watch, "/dev/ttyS0", IN_OPEN) >= 0;
        for (const QString& path : {own.pty, own.folder.filePath("null"), QString("/dev/ttyS0")}) {
            QProcess child;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("ZARN_TEST_DEVICE_ROOT", own.folder.path());
            env.insert(kTryPath, path);
            child.setProcessEnvironment(env);
            child.setProcessChannelMode(QProcess::MergedChannels);
            child.start(QCoreApplication::applicationFilePath(), {"fenceEndsATestReachingOut"});
            QVERIFY(child.waitForFinished(30000));
            const QString said = QString::fromUtf8(child.readAll());
            QVERIFY2(child.exitStatus() == QProcess::CrashExit, qPrintable(path + ": " + said));
            QVERIFY2(said.contains("refused to open " + path), qPrintable(said));
        }
        char events[4096];
        QVERIFY(!watched || ::read(watch, events, sizeof events) < 0);
        ::close(watch);
    }
};

QTEST_GUILESS_MAIN(QtSerialLineTest)
#include "test_qt_serial_line.moc"

#include "file_bytes.h"
#include "link/qt_serial_port.h"

#include <QDeadlineTimer>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {
// A pseudo-terminal whose master side the test plays as the controller. It holds the slave side
// open itself, so bytes sent while the port is closed wait in the line as on a real device.
struct Pty {
    int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    int slave = -1;
    QString path;
    QByteArray collected;

    Pty() {
        termios tio{};
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0 ||
            tcgetattr(master, &tio) != 0)
            return;
        cfmakeraw(&tio);
        tcsetattr(master, TCSANOW, &tio);
        path = QString::fromLocal8Bit(ptsname(master));
        slave = ::open(ptsname(master), O_RDWR | O_NOCTTY | O_NONBLOCK);
    }
    ~Pty() { hangUp(); }
    void send(const QByteArray& bytes) {
        QCOMPARE(::write(master, bytes.constData(), bytes.size()), ssize_t(bytes.size()));
    }
    // Everything the port has written so far; never waits.
    QByteArray received() {
        char chunk[512];
        for (ssize_t n; (n = ::read(master, chunk, sizeof chunk)) > 0;)
            collected.append(chunk, n);
        return collected;
    }
    // Bytes that reached the device and wait there for whoever reads the slave side.
    int waitingAtDevice() const {
        int count = -1;
        ioctl(slave, FIONREAD, &count);
        return count;
    }
    // The far end goes away, like a pulled adapter.
    void hangUp() {
        ::close(slave);
        ::close(master);
        slave = master = -1;
    }
};

// Qt keeps its serial lock files here on Debian; other programs use the same folder.
const QString kLockFolder = QStringLiteral("/var/lock");

// A pseudo-terminal as the device behind COM1, and the tool's port on it.
struct Line {
    Pty pty;
    QTemporaryDir dir;
    QString path = pty.path;
    std::unique_ptr<QtSerialPort> other;
    std::unique_ptr<QLockFile> lock;
    QtSerialPort port{[this](int com) { return com == 1 ? path : QString(); }};

    void openElsewhere() {
        other = std::make_unique<QtSerialPort>([this](int) { return path; });
        QCOMPARE(other->open(), OpenOutcome::Opened);
    }
    void lockAsAnotherProgram() {
        lock = std::make_unique<QLockFile>(kLockFolder + "/LCK.." + path.mid(5).replace('/', '_'));
        QVERIFY(lock->tryLock());
    }
    // Leaves the lock file behind as a crashed program would: naming a process that has ended.
    void leaveLockOfADeadProgram() {
        lockAsAnotherProgram();
        QProcess finished;
        finished.start("true");
        QVERIFY(finished.waitForStarted());
        const qint64 deadPid = finished.processId();
        QVERIFY(finished.waitForFinished());
        QList<QByteArray> lines = FileBytes(lock->fileName()).split('\n');
        lock->unlock();
        lines[0] = QByteArray::number(deadPid);
        WriteFileBytes(lock->fileName(), lines.join('\n'));
    }
    // What a tool killed with the line open leaves on the device: raw, even parity.
    void leaveSettingsOfAKilledProgram() {
        const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        termios tio{};
        QCOMPARE(tcgetattr(fd, &tio), 0);
        cfmakeraw(&tio);
        tio.c_cflag |= PARENB | CLOCAL | CREAD;
        tio.c_iflag |= IGNPAR;
        cfsetspeed(&tio, B115200);
        QCOMPARE(tcsetattr(fd, TCSANOW, &tio), 0);
        ::close(fd);
    }
};
using Setup = std::function<void(Line&)>;

// The tool drains the port from a timer without returning to the event loop in between; the
// drain must still see every byte the device holds.
QByteArray drainWithoutEventLoop(QtSerialPort& port, int expected) {
    QByteArray bytes;
    QDeadlineTimer deadline(5000);
    while (bytes.size() < expected && !deadline.hasExpired()) {
        while (port.waitingBytes() > 0)
            bytes.append(static_cast<char>(port.readByte()));
    }
    return bytes;
}
} // namespace

Q_DECLARE_METATYPE(OpenOutcome)
Q_DECLARE_METATYPE(Setup)

class QtSerialPortTest : public QObject {
    Q_OBJECT
private slots:
    void openOutcomes_data() {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<OpenOutcome>("outcome");
        using enum OpenOutcome;
        QTest::newRow("free pty") << Setup([](Line&) {}) << Opened;
        QTest::newRow("already open here") << Setup([](Line& l) { l.port.open(); }) << Held;
        QTest::newRow("open in another port object") << Setup(&Line::openElsewhere) << Held;
        QTest::newRow("held, reached through a link") << Setup([](Line& l) {
            l.openElsewhere();
            QVERIFY(QFile::link(l.path, l.dir.filePath("ttyLINK")));
            l.path = l.dir.filePath("ttyLINK");
        }) << Held;
        if (QFileInfo(kLockFolder).isWritable()) {
            QTest::newRow("live lock file") << Setup(&Line::lockAsAnotherProgram) << Held;
            QTest::newRow("stale lock file") << Setup(&Line::leaveLockOfADeadProgram) << Opened;
        }
        QTest::newRow("settings of a killed program")
            << Setup(&Line::leaveSettingsOfAKilledProgram) << Opened;
        QTest::newRow("missing device")
            << Setup([](Line& l) { l.path = l.dir.filePath("ttyNONE"); }) << NotAvailable;
        QTest::newRow("no device mapped")
            << Setup([](Line& l) { l.port.setPortNumber(2); }) << NotAvailable;
        QTest::newRow("a folder") << Setup([](Line& l) { l.path = l.dir.path(); }) << NotAvailable;
        QTest::newRow("a plain file") << Setup([](Line& l) {
            l.path = l.dir.filePath("plain");
            WriteFileBytes(l.path, {});
        }) << NotAvailable;
    }
    void openOutcomes() {
        QFETCH(Setup, setup);
        QFETCH(OpenOutcome, outcome);
        Line l;
        QVERIFY(l.pty.slave >= 0);
        setup(l);
        if (QTest::currentTestFailed())
            return;
        const bool openBefore = l.port.isOpen();
        QCOMPARE(l.port.open(), outcome);
        QCOMPARE(l.port.isOpen(), openBefore || outcome == OpenOutcome::Opened);
    }

    // A pseudo-terminal has no parity and no baud rate, so the settings are read from the port.
    void opensWith115200Baud8E1AndNoFlowControl() {
        Line l;
        QCOMPARE(l.port.open(), OpenOutcome::Opened);
        QCOMPARE(l.port.line().baudRate(), 115200);
        QCOMPARE(l.port.line().parity(), QSerialPort::EvenParity);
        QCOMPARE(l.port.line().dataBits(), QSerialPort::Data8);
        QCOMPARE(l.port.line().stopBits(), QSerialPort::OneStop);
        QCOMPARE(l.port.line().flowControl(), QSerialPort::NoFlowControl);
    }

    void bytesPassUnchangedBothWays() {
        Line l;
        QByteArray all;
        for (int value = 0; value < 256; ++value)
            all.append(static_cast<char>(value));
        l.port.write("\x07\x04"); // closed: goes nowhere
        QCOMPARE(l.port.open(), OpenOutcome::Opened);
        l.pty.send(all);
        QCOMPARE(drainWithoutEventLoop(l.port, all.size()), all);
        QCOMPARE(l.port.waitingBytes(), 0);
        l.port.write(all);
        QTRY_COMPARE(l.pty.received(), all);
    }

    void bytesFromBeforeTheOpenAreNoAnswer() {
        Line l;
        QCOMPARE(l.port.open(), OpenOutcome::Opened);
        l.pty.send("\x01\x02\x03");
        QTRY_COMPARE(l.port.waitingBytes(), 3);
        l.port.close();
        QCOMPARE(l.port.waitingBytes(), 0);
        // Bytes that reach the device while it is closed are stale.
        l.pty.send("\x04\x05");
        QTRY_COMPARE(l.pty.waitingAtDevice(), 2);
        QCOMPARE(l.port.open(), OpenOutcome::Opened);
        QCOMPARE(l.port.waitingBytes(), 0);
        l.pty.send("\x06");
        QTRY_COMPARE(l.port.waitingBytes(), 1);
        QCOMPARE(l.port.readByte(), std::uint8_t{0x06});
    }

    void hungUpLineClosesThePort() {
        Line l;
        QCOMPARE(l.port.open(), OpenOutcome::Opened);
        l.pty.hangUp();
        QTRY_VERIFY(l.port.waitingBytes() == 0 && !l.port.isOpen());
        // The user can reopen once a device is back behind the number.
        Pty again;
        l.path = again.path;
        QCOMPARE(l.port.open(), OpenOutcome::Opened);
    }
};

QTEST_GUILESS_MAIN(QtSerialPortTest)
#include "test_qt_serial_port.moc"

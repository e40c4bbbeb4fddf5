#include "file_bytes.h"
#include "link/qt_serial_port.h"
#include "pty_pair.h"

#include <QDeadlineTimer>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <termios.h>
#include <unistd.h>

namespace {
// Qt keeps its serial lock files here on Debian; other programs use the same folder.
const QString kLockFolder = QStringLiteral("/var/lock");

// A pseudo-terminal as the device behind COM1, and the tool's port on it.
struct Line {
    PtyPair pty;
    QTemporaryDir dir;
    QString path = pty.slavePath();
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
        const auto row = [](const char* name, Setup setup, OpenOutcome outcome) {
            QTest::newRow(name) << setup << outcome;
        };
        row(
            "free pty", [](Line&) {}, OpenOutcome::Opened);
        row(
            "already open here", [](Line& l) { l.port.open(); }, OpenOutcome::Held);
        row("open in another port object", &Line::openElsewhere, OpenOutcome::Held);
        row(
            "held, reached through a link",
            [](Line& l) {
                l.openElsewhere();
                QVERIFY(QFile::link(l.path, l.dir.filePath("ttyLINK")));
                l.path = l.dir.filePath("ttyLINK");
            },
            OpenOutcome::Held);
        if (QFileInfo(kLockFolder).isWritable()) {
            row("live lock file", &Line::lockAsAnotherProgram, OpenOutcome::Held);
            row("stale lock file", &Line::leaveLockOfADeadProgram, OpenOutcome::Opened);
        }
        row("settings of a killed program", &Line::leaveSettingsOfAKilledProgram,
            OpenOutcome::Opened);
        row(
            "missing device", [](Line& l) { l.path = l.dir.filePath("ttyNONE"); },
            OpenOutcome::NotAvailable);
        row(
            "no device mapped", [](Line& l) { l.port.setPortNumber(2); },
            OpenOutcome::NotAvailable);
        row(
            "a folder", [](Line& l) { l.path = l.dir.path(); }, OpenOutcome::NotAvailable);
        row(
            "a plain file",
            [](Line& l) {
                l.path = l.dir.filePath("plain");
                WriteFileBytes(l.path, {});
            },
            OpenOutcome::NotAvailable);
    }
    void openOutcomes() {
        QFETCH(Setup, setup);
        QFETCH(OpenOutcome, outcome);
        Line l;
        QVERIFY(l.pty.isValid());
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
        PtyPair again;
        l.path = again.slavePath();
        QCOMPARE(l.port.open(), OpenOutcome::Opened);
    }
};

QTEST_GUILESS_MAIN(QtSerialPortTest)
#include "test_qt_serial_port.moc"

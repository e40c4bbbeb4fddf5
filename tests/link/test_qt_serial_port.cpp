#include "file_bytes.h"
#include "link/qt_serial_port.h"
#include "pty_pair.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

Q_DECLARE_METATYPE(OpenOutcome)

namespace {
// Qt keeps its serial lock files here on Debian; other programs use the same folder.
const QString kLockFolder = QStringLiteral("/var/lock");

QString lockFileFor(const QString& device) {
    QString name = device;
    name.remove(0, QStringLiteral("/dev/").size());
    return kLockFolder + "/LCK.." + name.replace('/', '_');
}

QByteArray allByteValues() {
    QByteArray bytes;
    for (int value = 0; value < 256; ++value)
        bytes.append(static_cast<char>(value));
    return bytes;
}

// The port is polled from a timer in the tool; here the drain runs without the event loop, as
// in one tick, and must still see every byte the device holds.
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

class QtSerialPortTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        pty = std::make_unique<PtyPair>();
        QVERIFY(pty->isValid());
        path = pty->slavePath();
        port = std::make_unique<QtSerialPort>([this](int com) { return com == 1 ? path : ""; });
    }
    void cleanup() {
        port.reset();
        pty.reset();
    }
    void portNumbers() {
        for (int refused : {0, 256, -1})
            QVERIFY(!port->setPortNumber(refused));
        QVERIFY(port->setPortNumber(255));
        QVERIFY(port->setPortNumber(1));
        QCOMPARE(port->open(), OpenOutcome::Opened);
        QVERIFY(!port->setPortNumber(2));
        port->close();
        QVERIFY(port->setPortNumber(2));
    }

    void openOutcomes_data() {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<OpenOutcome>("outcome");
        QTest::newRow("free pty") << "free" << OpenOutcome::Opened;
        QTest::newRow("already open here") << "open twice" << OpenOutcome::Held;
        QTest::newRow("another port object") << "other object" << OpenOutcome::Held;
        QTest::newRow("held through a link") << "other object via link" << OpenOutcome::Held;
        QTest::newRow("live lock file") << "live lock" << OpenOutcome::Held;
        QTest::newRow("stale lock file") << "stale lock" << OpenOutcome::Opened;
        QTest::newRow("missing device") << "missing" << OpenOutcome::NotAvailable;
        QTest::newRow("no device mapped") << "unmapped" << OpenOutcome::NotAvailable;
        QTest::newRow("a folder") << "folder" << OpenOutcome::NotAvailable;
        QTest::newRow("a plain file") << "plain file" << OpenOutcome::NotAvailable;
    }
    void openOutcomes() {
        QFETCH(QString, situation);
        QFETCH(OpenOutcome, outcome);
        QTemporaryDir dir;
        QtSerialPort other([this](int) { return path; });
        std::unique_ptr<QLockFile> lock;

        if (situation == "open twice") {
            QCOMPARE(port->open(), OpenOutcome::Opened);
        } else if (situation == "other object") {
            QCOMPARE(other.open(), OpenOutcome::Opened);
        } else if (situation == "other object via link") {
            QCOMPARE(other.open(), OpenOutcome::Opened);
            QVERIFY(QFile::link(path, dir.filePath("ttyLINK")));
            path = dir.filePath("ttyLINK");
        } else if (situation == "live lock" || situation == "stale lock") {
            if (!QFileInfo(kLockFolder).isWritable())
                QSKIP("no writable lock folder");
            lock = std::make_unique<QLockFile>(lockFileFor(path));
            QVERIFY(lock->tryLock());
            if (situation == "stale lock")
                leaveBehindForDeadOwner(*lock, lockFileFor(path));
        } else if (situation == "missing") {
            path = dir.filePath("ttyNONE");
        } else if (situation == "unmapped") {
            QVERIFY(port->setPortNumber(2));
        } else if (situation == "folder") {
            path = dir.path();
        } else if (situation == "plain file") {
            path = dir.filePath("plain");
            WriteFileBytes(path, {});
        }

        QCOMPARE(port->open(), outcome);
        QCOMPARE(port->isOpen(), outcome == OpenOutcome::Opened || situation == "open twice");
    }

    void bytesPassUnchangedBothWays() {
        QCOMPARE(port->open(), OpenOutcome::Opened);
        const QByteArray all = allByteValues();
        pty->send(all);
        QCOMPARE(drainWithoutEventLoop(*port, all.size()), all);
        QCOMPARE(port->waitingBytes(), 0);

        port->write(all);
        QTRY_COMPARE(pty->received(), all);
    }

    void closeDiscardsWaitingBytes() {
        QCOMPARE(port->open(), OpenOutcome::Opened);
        pty->send("\x01\x02\x03");
        QTRY_COMPARE(port->waitingBytes(), 3);
        port->close();
        QVERIFY(!port->isOpen());
        QCOMPARE(port->waitingBytes(), 0);

        // Bytes that reached the device while it was closed are stale, not an answer.
        pty->send("\x04\x05");
        QTest::qWait(50);
        QCOMPARE(port->open(), OpenOutcome::Opened);
        QTest::qWait(50);
        QCOMPARE(port->waitingBytes(), 0);
        pty->send("\x06");
        QTRY_COMPARE(port->waitingBytes(), 1);
        QCOMPARE(port->readByte(), std::uint8_t{0x06});
    }

    void writeWhileClosedSendsNothing() {
        port->write("\x07\x04");
        QCOMPARE(port->open(), OpenOutcome::Opened);
        port->write("\x08");
        QTRY_COMPARE(pty->received(), QByteArray("\x08"));
    }

    void hungUpLineClosesThePort() {
        QCOMPARE(port->open(), OpenOutcome::Opened);
        pty->hangUp();
        QTRY_VERIFY(port->waitingBytes() == 0 && !port->isOpen());
        // The user can reopen once a device is back behind the number.
        PtyPair again;
        path = again.slavePath();
        QCOMPARE(port->open(), OpenOutcome::Opened);
    }

private:
    // Leaves the lock file behind as a crashed program would: same content, but naming a
    // process that has ended and with nobody holding it.
    static void leaveBehindForDeadOwner(QLockFile& lock, const QString& lockPath) {
        QProcess finished;
        finished.start("true");
        QVERIFY(finished.waitForStarted());
        const qint64 deadPid = finished.processId();
        QVERIFY(finished.waitForFinished());

        QList<QByteArray> lines = FileBytes(lockPath).split('\n');
        lock.unlock();
        lines[0] = QByteArray::number(deadPid);
        WriteFileBytes(lockPath, lines.join('\n'));
    }

    std::unique_ptr<PtyPair> pty;
    std::unique_ptr<QtSerialPort> port;
    QString path;
};

QTEST_GUILESS_MAIN(QtSerialPortTest)
#include "test_qt_serial_port.moc"

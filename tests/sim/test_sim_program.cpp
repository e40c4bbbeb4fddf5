#include "file_bytes.h"
#include "link/frame_crc.h"
#include "link/qt_serial_port.h"
#include "sim_process.h"

#include <QFile>
#include <QFileInfo>
#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

namespace {
// User plus system CPU time the process has used, in seconds.
double cpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // Fields after the command name (which may hold blanks) start behind the last ')'.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return (fields[11].toLongLong() + fields[12].toLongLong()) /
           static_cast<double>(sysconf(_SC_CLK_TCK));
}

} // namespace

class SimProgramTest : public QObject {
    Q_OBJECT
private slots:
    void stopsCleanlyOnSignals_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
    }
    void stopsCleanlyOnSignals() {
        QFETCH(int, signal);
        SimProcess sim;
        QVERIFY2(sim.start(), qPrintable(sim.errorText()));
        QCOMPARE(QFileInfo(sim.linkPath()).symLinkTarget(), sim.ptyPath());
        ::kill(static_cast<pid_t>(sim.process().processId()), signal);
        QVERIFY(sim.process().waitForFinished(5000));
        QCOMPARE(sim.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.process().exitCode(), 0);
        QVERIFY(!QFileInfo(sim.linkPath()).isSymLink());
    }

    void staysIdleWhileNobodyTalks() {
        SimProcess sim;
        QVERIFY2(sim.start(), qPrintable(sim.errorText()));
        // A client that comes and goes leaves the line without a reader again.
        QtSerialPort client([&](int) { return sim.linkPath(); });
        QCOMPARE(client.open(), OpenOutcome::Opened);
        client.close();
        const qint64 pid = sim.process().processId();
        const double before = cpuSeconds(pid);
        QTest::qWait(1500);
        QVERIFY2(cpuSeconds(pid) - before < 0.2, "the simulator spins while idle");
    }

    void replacesAnOldLinkButNoFile() {
        SimProcess stale;
        QVERIFY(QFile::link("/nonexistent/pts/99", stale.linkPath()));
        QVERIFY2(stale.start(), qPrintable(stale.errorText()));
        QCOMPARE(QFileInfo(stale.linkPath()).symLinkTarget(), stale.ptyPath());

        SimProcess blocked;
        WriteFileBytes(blocked.linkPath(), "keep me");
        QVERIFY(!blocked.start());
        QCOMPARE(blocked.process().state(), QProcess::NotRunning);
        QCOMPARE(blocked.process().exitCode(), 1);
        QVERIFY2(blocked.errorText().contains("not a symlink"), qPrintable(blocked.errorText()));
        QFile kept(blocked.linkPath());
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("keep me"));
    }

    void refusesABrokenEepromFile() {
        SimProcess sim;
        const QString eeprom = sim.filePath("eeprom.bin");
        WriteFileBytes(eeprom, QByteArray(100, 'x'));
        QVERIFY(!sim.start({"--eeprom-file", eeprom}));
        QVERIFY2(sim.errorText().contains("4096"), qPrintable(sim.errorText()));
        QCOMPARE(QFileInfo(eeprom).size(), 100);
        QVERIFY(!QFileInfo(sim.linkPath()).isSymLink());
    }

    void servesAnExistingDevice() {
        // A pty stands in for the serial device; the test plays the tool on its master side.
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
        const QString device = QString::fromLocal8Bit(ptsname(master));
        QProcess sim;
        sim.start(qEnvironmentVariable("ZARN_SIM"), {"--device", device});
        QVERIFY(sim.waitForReadyRead(5000));
        QCOMPARE(sim.readLine().trimmed(), device.toLocal8Bit());

        const QByteArray request = QByteArray::fromHex("0704012C0001");
        QByteArray frame = request;
        const std::uint16_t crc =
            FrameCrc(reinterpret_cast<const std::uint8_t*>(request.constData()), 5);
        frame.append(char(crc & 0xFF)).append(char(crc >> 8));
        QCOMPARE(::write(master, frame.constData(), frame.size()), ssize_t(frame.size()));
        QByteArray answer;
        pollfd pfd{master, POLLIN, 0};
        while (answer.size() < 7 && ::poll(&pfd, 1, 2000) > 0) {
            char chunk[64];
            const ssize_t n = ::read(master, chunk, sizeof chunk);
            if (n <= 0)
                break;
            answer.append(chunk, n);
        }
        QCOMPARE(answer.left(5).toHex(' '), QByteArray("07 04 02 02 03"));
        sim.terminate();
        QVERIFY(sim.waitForFinished(5000));
        ::close(master);
    }

    void badCommandLineExitsWithUsage() {
        QProcess sim;
        sim.start(qEnvironmentVariable("ZARN_SIM"), {"--address", "0"});
        QVERIFY(sim.waitForFinished(5000));
        QCOMPARE(sim.exitCode(), 2);
        QVERIFY(sim.readAllStandardError().contains("--help"));
        QVERIFY(sim.readAllStandardOutput().isEmpty());
    }
};

QTEST_GUILESS_MAIN(SimProgramTest)
#include "test_sim_program.moc"

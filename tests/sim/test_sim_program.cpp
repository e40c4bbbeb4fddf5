#include "link/qt_serial_port.h"
#include "sim_process.h"

#include <QFile>
#include <QFileInfo>
#include <QtTest>
#include <csignal>
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

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
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
        writeFile(blocked.linkPath(), "keep me");
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
        writeFile(eeprom, QByteArray(100, 'x'));
        QVERIFY(!sim.start({"--eeprom-file", eeprom}));
        QVERIFY2(sim.errorText().contains("4096"), qPrintable(sim.errorText()));
        QCOMPARE(QFileInfo(eeprom).size(), 100);
        QVERIFY(!QFileInfo(sim.linkPath()).isSymLink());
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

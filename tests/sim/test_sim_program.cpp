#include "file_bytes.h"
#include "link/qt_serial_port.h"
#include "process_usage.h"
#include "sim_process.h"

#include <QFileInfo>
#include <QtTest>
#include <csignal>

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

    // A client that came and went leaves the line without a reader.
    void staysIdleWhileNobodyTalks() {
        SimProcess sim;
        QVERIFY2(sim.start(), qPrintable(sim.errorText()));
        QtSerialPort client([&](int) { return sim.linkPath(); });
        QCOMPARE(client.open(), OpenOutcome::Opened);
        client.close();
        const auto pid = static_cast<pid_t>(sim.process().processId());
        const double before = CpuSeconds(pid);
        QTest::qWait(1500);
        QVERIFY2(CpuSeconds(pid) - before < 0.2, "the simulator spins while idle");
    }

    void replacesAnOldLinkButNoFile() {
        SimProcess stale;
        QVERIFY(QFile::link("/nonexistent/pts/99", stale.linkPath()));
        QVERIFY2(stale.start(), qPrintable(stale.errorText()));
        QCOMPARE(QFileInfo(stale.linkPath()).symLinkTarget(), stale.ptyPath());

        SimProcess blocked;
        WriteFileBytes(blocked.linkPath(), "keep me");
        QVERIFY(!blocked.start());
        QCOMPARE(blocked.process().exitCode(), 1);
        QVERIFY2(blocked.errorText().contains("not a symlink"), qPrintable(blocked.errorText()));
        QCOMPARE(FileBytes(blocked.linkPath()), QByteArray("keep me"));
    }
};

QTEST_GUILESS_MAIN(SimProgramTest)
#include "test_sim_program.moc"

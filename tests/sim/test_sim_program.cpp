#include "file_bytes.h"
#include "link/qt_serial_port.h"
#include "sim_process.h"

#include <QFileInfo>
#include <QtTest>
#include <csignal>

class SimProgramTest : public QObject {
    Q_OBJECT
private slots:
    // It replaces a stale link, outlives a client that came and went, and stops cleanly on either
    // signal, taking its link with it.
    void runsAndStops_data() {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("staleLink");
        QTest::newRow("SIGTERM") << SIGTERM << false;
        QTest::newRow("SIGINT, stale link") << SIGINT << true;
    }
    void runsAndStops() {
        QFETCH(int, signal);
        QFETCH(bool, staleLink);
        SimProcess sim;
        QVERIFY(!staleLink || QFile::link("/nonexistent/pts/99", sim.linkPath()));
        QVERIFY2(sim.start(), qPrintable(sim.errorText()));
        QCOMPARE(QFileInfo(sim.linkPath()).symLinkTarget(), sim.ptyPath());
        QtSerialPort client([&](int) { return sim.linkPath(); });
        QCOMPARE(client.open(), OpenOutcome::Opened);
        client.close();
        ::kill(static_cast<pid_t>(sim.process().processId()), signal);
        QVERIFY(sim.process().waitForFinished(5000));
        QCOMPARE(sim.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.process().exitCode(), 0);
        QVERIFY(!QFileInfo(sim.linkPath()).isSymLink());
    }

    void keepsAFileWhereItsLinkShouldBe() {
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

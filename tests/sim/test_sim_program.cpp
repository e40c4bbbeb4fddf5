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
    // signal, taking its link with it; a regular file where its link should be it keeps, and exits.
    void runsAndStops_data() {
        QTest::addColumn<int>("signal");     // none: refused
        QTest::addColumn<QString>("atLink"); // a stale link's target or the file's text
        QTest::newRow("SIGTERM") << SIGTERM << "";
        QTest::newRow("SIGINT, stale link") << SIGINT << "/nonexistent/pts/99";
        QTest::newRow("a file at the link") << 0 << "keep me";
    }
    void runsAndStops() {
        QFETCH(int, signal);
        QFETCH(QString, atLink);
        SimProcess sim;
        if (!signal) // what the link should be is a regular file
            WriteFileBytes(sim.linkPath(), atLink.toUtf8());
        QVERIFY(!signal || atLink.isEmpty() || QFile::link(atLink, sim.linkPath()));
        QVERIFY2(sim.start() == bool(signal), qPrintable(sim.errorText()));
        if (signal) {
            QCOMPARE(QFileInfo(sim.linkPath()).symLinkTarget(), sim.ptyPath());
            QtSerialPort client([&](int) { return sim.linkPath(); });
            QCOMPARE(client.open(), OpenOutcome::Opened);
            client.close();
            ::kill(static_cast<pid_t>(sim.process().processId()), signal);
            QVERIFY(sim.process().waitForFinished(5000));
        }
        QCOMPARE(sim.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.process().exitCode(), signal ? 0 : 1);
        QVERIFY2(signal || sim.errorText().contains("not a symlink"), qPrintable(sim.errorText()));
        QVERIFY(!QFileInfo(sim.linkPath()).isSymLink());
        QCOMPARE(FileBytes(sim.linkPath()), signal ? QByteArray() : atLink.toUtf8());
    }
};

QTEST_GUILESS_MAIN(SimProgramTest)
#include "test_sim_program.moc"

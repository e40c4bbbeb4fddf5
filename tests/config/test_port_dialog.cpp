#include "config/config_file.h"
#include "config/ini_file.h"
#include "config/port_dialog.h"
#include "file_bytes.h"
#include "link_rig.h"
#include "scripted_messages.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {
const QString kNoPort = QStringLiteral("Порт не выбран");

// The tool's port on `configured`, then the dialog opened over it. Between probes the exchange
// cycle ticks, as the main window's timer would.
struct PortDialogFixture {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("тп.ini"));
    LinkRig link;
    FakeSerialPort& port = link.port;
    RecordingHost& host = link.host;
    ExchangeCycle& cycle = link.cycle;
    ScriptedMessages boxes;
    ConfigFile config{path, host, boxes};
    QList<QByteArray> writtenDuringProbe;
    QList<int> portsOpenDuringProbe;
    std::unique_ptr<PortDialog> dialog;

    PortDialogFixture(std::set<int> freePorts, int configured, std::set<int> held = {}) {
        port.close();
        port.availablePorts = std::move(freePorts);
        port.heldPorts = std::move(held);
        config.com_port = static_cast<std::uint8_t>(configured);
        if (port.setPortNumber(configured))
            port.open();
        dialog = std::make_unique<PortDialog>(port, cycle, config, host, [this] {
            if (port.isOpen())
                portsOpenDuringProbe.append(port.portNumber());
            cycle.ExchangeTick();
            writtenDuringProbe += port.takeWritten();
        });
    }
    QComboBox* list() const { return dialog->findChild<QComboBox*>("cmbCOMList"); }
    QStringList entries() const {
        QStringList texts;
        for (int i = 0; i < list()->count(); ++i)
            texts.append(list()->itemText(i));
        return texts;
    }
    void click(const char* button) { dialog->findChild<QPushButton*>(button)->click(); }
    // The user picks the entry `steps` below (or above) the shown one with the arrow keys.
    void pickBy(int steps) {
        for (int i = 0; i < std::abs(steps); ++i)
            QTest::keyClick(list(), steps > 0 ? Qt::Key_Down : Qt::Key_Up);
    }
    bool openOn(int n) const { return port.isOpen() && port.portNumber() == n; }
    QByteArray configFile() const { return FileBytes(path); }
};
} // namespace

class PortDialogTest : public QObject {
    Q_OBJECT
private slots:
    // The dialog lists the free ports and shows the configured one; a pick switches the port at
    // once, OK keeps and saves it, Отмена or the close box go back to the configured port, and
    // a port that is gone by then is reported. No button: the dialog as it opened.
    void choosingAPort_data() {
        QTest::addColumn<QList<int>>("free");
        QTest::addColumn<QList<int>>("held");
        QTest::addColumn<int>("configured");
        QTest::addColumn<int>("steps");
        QTest::addColumn<QList<int>>("later");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("kept");
        QTest::addColumn<int>("open");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("status");
        const QList<int> three{1, 3, 12}, none;
        const QStringList listed{"COM1", "COM3", "COM12"}, two{"COM1", "COM3"};
        const auto row = [](const char* name, QList<int> free, QList<int> held, int configured,
                            int steps, QList<int> later, const char* button, QStringList entries,
                            int kept, int open, const char* saved, QString status) {
            QTest::newRow(name) << free << held << configured << steps << later << QString(button)
                                << entries << kept << open << QString(saved) << status;
        };
        row("as opened", three, none, 3, 0, three, "", listed, 3, 3, "-", "");
        row("OK", three, none, 3, 1, three, "OK", listed, 12, 12, "12", "");
        row("Отмена", three, none, 3, -1, three, "Отмена", listed, 3, 3, "-", "");
        row("close box", three, none, 3, -1, three, "close", listed, 3, 3, "-", "");
        row("configured one gone", {1, 3}, none, 3, -1, {1}, "Отмена", two, 3, 0, "-", kNoPort);
        row("no free port", none, none, 3, 0, none, "OK", {}, 0, 0, "0", kNoPort);
        row("configured one held", {1, 3, 5}, {5}, 5, 0, {1, 3, 5}, "", two, 5, 0, "-", "");
    }
    void choosingAPort() {
        QFETCH(QList<int>, free);
        QFETCH(QList<int>, held);
        QFETCH(int, configured);
        QFETCH(int, steps);
        QFETCH(QList<int>, later);
        QFETCH(QString, button);
        PortDialogFixture f({free.begin(), free.end()}, configured, {held.begin(), held.end()});
        f.dialog->load();
        f.dialog->show();
        QTEST(f.entries(), "entries");
        QCOMPARE(f.list()->currentText(),
                 f.openOn(configured) ? QString("COM%1").arg(configured) : "");
        f.pickBy(steps);
        if (steps != 0)
            QVERIFY(f.openOn(f.list()->currentText().mid(3).toInt()));
        QCOMPARE(f.config.com_port, configured);
        f.port.availablePorts = {later.begin(), later.end()};
        if (button == "close")
            f.dialog->close();
        else if (!button.isEmpty())
            f.click(qPrintable(button));
        QCOMPARE(f.dialog->isVisible(), button.isEmpty());
        QTEST(int(f.config.com_port), "kept");
        QTEST(f.port.isOpen() ? f.port.portNumber() : 0, "open");
        QTEST(ReadIniValue(f.path, "PC config", "COM", "-"), "saved");
        QCOMPARE(ReadIniValue(f.path, "QLA config", "MBSLAD", "-"),
                 QString(f.configFile().isEmpty() ? "-" : "7"));
        QTEST(f.host.status, "status");
    }

    void nothingIsWrittenWhileTheProbeHoldsThePort() {
        PortDialogFixture f({1, 3, 12}, 3);
        QVERIFY(QueueCommandWrite(f.cycle.request_queue, 0x1238));
        f.dialog->load();
        QCOMPARE(f.portsOpenDuringProbe, (QList<int>{1, 3, 12}));
        QVERIFY(f.writtenDuringProbe.isEmpty());
        // Once the dialog has settled the port, the СТАРТ waiting at the head goes out there.
        f.cycle.ExchangeTick();
        QVERIFY(f.openOn(3));
        QCOMPARE(f.port.written, QList<QByteArray>{Hex("07 06 01 92 12 38 24 CF")});
        QVERIFY(!f.cycle.lineHeld());
    }
};

QTEST_MAIN(PortDialogTest)
#include "test_port_dialog.moc"

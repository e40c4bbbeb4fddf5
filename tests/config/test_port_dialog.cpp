#include "config/config_file.h"
#include "config/ini_file.h"
#include "config/port_dialog.h"
#include "fake_serial_port.h"
#include "file_bytes.h"
#include "frames.h"
#include "link/exchange_cycle.h"
#include "recording_host.h"
#include "scripted_messages.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {
const QString kNoPort = QStringLiteral("Порт не выбран");

class NoDecoder : public AnswerConsumer {
public:
    void DecodeAnswer(const RxBuffer&) override {}
};

// The tool's port on `configured`, then the dialog opened over it. Between probes the exchange
// cycle ticks, as the main window's timer would.
struct PortDialogFixture {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("тп.ini"));
    FakeSerialPort port;
    RecordingHost host;
    NoDecoder decoder;
    ExchangeCycle cycle{port, host, decoder};
    ScriptedMessages boxes;
    ConfigFile config{path, host, boxes};
    QList<QByteArray> writtenDuringProbe;
    QList<int> portsOpenDuringProbe;
    std::unique_ptr<PortDialog> dialog;

    PortDialogFixture(std::set<int> freePorts, int configured) {
        port.availablePorts = std::move(freePorts);
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
    void controls() {
        PortDialogFixture f({1}, 1);
        QCOMPARE(f.dialog->objectName(), QString("wndSetCOM"));
        QCOMPARE(f.dialog->windowTitle(), QString("Настройка порта"));
        QCOMPARE(f.dialog->findChild<QLabel*>("Label1")->text(), QString("Выберите порт:"));
        QCOMPARE(f.dialog->findChild<QPushButton*>("OK")->text(), QString("ОК"));
        QCOMPARE(f.dialog->findChild<QPushButton*>("Отмена")->text(), QString("Отмена"));
        QCOMPARE(f.list()->placeholderText(), QString("Выберите порт"));
    }

    void listsTheFreePortsAndChoosesTheConfiguredOne() {
        PortDialogFixture f({1, 3, 12}, 3);
        f.dialog->load();
        QCOMPARE(f.entries(), (QStringList{"COM1", "COM3", "COM12"}));
        QCOMPARE(f.list()->currentText(), QString("COM3"));
        QVERIFY(f.openOn(3));
    }

    void heldConfiguredPortIsNotListed() {
        PortDialogFixture f({1, 3, 5}, 5);
        f.port.heldPorts = {5};
        f.port.close();
        f.dialog->load();
        QCOMPARE(f.entries(), (QStringList{"COM1", "COM3"}));
        QCOMPARE(f.list()->currentIndex(), -1);
        QVERIFY(!f.port.isOpen());
    }

    void pickSwitchesAtOnceAndOkSavesIt() {
        PortDialogFixture f({1, 3, 12}, 3);
        f.dialog->load();
        f.pickBy(1);
        QVERIFY(f.openOn(12));
        QCOMPARE(f.config.com_port, 3);
        f.click("OK");
        QCOMPARE(f.config.com_port, 12);
        QVERIFY(f.openOn(12));
        QCOMPARE(ReadIniValue(f.path, "PC config", "COM", "?"), QString("12"));
        QCOMPARE(ReadIniValue(f.path, "QLA config", "MBSLAD", "?"), QString("7"));
    }

    void cancelAndCloseBoxRestoreTheConfiguredPort_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Отмена") << false;
        QTest::newRow("close box") << true;
    }
    void cancelAndCloseBoxRestoreTheConfiguredPort() {
        QFETCH(bool, closeBox);
        PortDialogFixture f({1, 3, 12}, 3);
        f.dialog->load();
        f.dialog->show();
        f.pickBy(-1);
        QVERIFY(f.openOn(1));
        if (closeBox)
            f.dialog->close();
        else
            f.click("Отмена");
        QVERIFY(!f.dialog->isVisible());
        QCOMPARE(f.config.com_port, 3);
        QVERIFY(f.openOn(3));
        QVERIFY(f.configFile().isEmpty());
    }

    void noFreePortSavesNoPort() {
        PortDialogFixture f({}, 3);
        f.dialog->load();
        QVERIFY(f.entries().isEmpty());
        f.click("OK");
        QCOMPARE(f.config.com_port, 0);
        QCOMPARE(ReadIniValue(f.path, "PC config", "COM", "?"), QString("0"));
        QCOMPARE(f.host.status, kNoPort);
        QVERIFY(!f.port.isOpen());
    }

    void configuredPortGoneAfterCancelIsReported() {
        PortDialogFixture f({1, 3}, 3);
        f.dialog->load();
        f.pickBy(-1);
        f.port.availablePorts = {1};
        f.click("Отмена");
        QCOMPARE(f.host.status, kNoPort);
        QVERIFY(!f.port.isOpen());
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

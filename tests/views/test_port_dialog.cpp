#include "config/config_file.h"
#include "disk/ini_file.h"
#include "fake_ports.h"
#include "link_rig.h"
#include "scripted_messages.h"
#include "views/port_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

// The tool on the configured COM3, the dialog over it; between probes the exchange cycle ticks,
// as the main window's timer would, and whatever it writes is kept.
struct PortDialogRig : AnswerConsumer {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("тп.ini"));
    FakePorts ports;
    ChosenLine line{ports.factory()};
    RecordingHost host;
    ExchangeCycle cycle{line, host, *this};
    ScriptedMessages boxes;
    ConfigFile config{path, host, boxes};
    QList<int> probed;
    QList<QByteArray> written_while_probing;
    PortDialog dialog{line, cycle, config, host, [this] {
                          if (line.isOpen())
                              probed.append(ports.open_number);
                          cycle.ExchangeTick();
                          written_while_probing += ports.device.takeWritten();
                      }};
    QComboBox* list = dialog.findChild<QComboBox*>("cmbCOMList");

    explicit PortDialogRig(const QList<int>& free) {
        ports.available_ports = {free.begin(), free.end()};
        line.choose(LineAddress{config.com_port = 3});
        line.open();
    }
    void DecodeAnswer(const RxBuffer&) override {}
    int openPort() const { return ports.open_number; }
};

class PortDialogTest : public QObject {
    Q_OBJECT
private slots:
    // It probes every port, writing nothing meanwhile, lists the free ones and shows the configured
    // one; a pick (arrow keys) switches at once, OK keeps and saves it, Отмена goes back to the
    // configured port, and one gone by then is reported.
    void choosingAPort_data() {
        QTest::addColumn<QList<int>>("free");
        QTest::addColumn<int>("gone");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("kept");
        const QList<int> three{1, 3, 12};
        QTest::newRow("OK") << three << 0 << "OK" << 12;
        QTest::newRow("Отмена") << three << 0 << "Отмена" << 3;
        QTest::newRow("gone by then") << three << 3 << "Отмена" << 0;
        QTest::newRow("no free port") << QList<int>{} << 0 << "OK" << 0;
    }
    void choosingAPort() {
        QFETCH(QList<int>, free);
        QFETCH(int, gone);
        QFETCH(QString, button);
        QFETCH(int, kept);
        PortDialogRig f(free);
        QVERIFY(f.cycle.queue(CommandRequest(Command::Start)));
        f.dialog.load();
        f.dialog.show();
        QCOMPARE(f.probed, free);
        QVERIFY(f.written_while_probing.isEmpty());
        QCOMPARE(f.list->count(), free.size());
        QCOMPARE(f.list->currentText(), f.openPort() == 3 ? "COM3" : "");
        QTest::keyClick(f.list, button == "OK" ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(f.openPort(), f.list->currentText().mid(3).toInt());
        f.ports.available_ports.erase(gone);
        f.dialog.findChild<QPushButton*>(button)->click();
        QVERIFY(!f.dialog.isVisible());
        QCOMPARE(f.openPort(), kept);
        QCOMPARE(f.config.com_port, button == "OK" ? kept : 3);
        QCOMPARE(ReadIniValue(f.path, "PC config", "COM", "-"),
                 button == "OK" ? QString::number(kept) : "-");
        QCOMPARE(f.host.status, kept ? "" : "Порт не выбран");
        // The СТАРТ that waited at the head of the ring goes out once the port is settled.
        QCOMPARE(TickAndTakeFrame(f.cycle, f.ports.device),
                 kept ? Hex("07 06 01 92 12 38 24 CF") : QByteArray());
    }

    // A network line on the chosen number says under the list why it does not carry, and the
    // words go once it does; a serial port shows nothing there.
    void networkLineState() {
        PortDialogRig f({1, 3});
        QLabel* state = f.dialog.findChild<QLabel*>("lbl_line_state");
        f.dialog.load();
        f.dialog.show();
        QVERIFY(state->isHidden());
        const QString refused = "Нет связи с 10.0.0.50:4001: соединение отклонено";
        f.ports.device.line_state = LineState::Down;
        f.ports.device.state_text = refused;
        QTRY_COMPARE(state->text(), refused);
        QVERIFY(state->isVisible());
        f.ports.device.line_state = LineState::Carrying;
        f.ports.device.state_text.clear();
        QTRY_VERIFY(state->isHidden());
    }
};

QTEST_MAIN(PortDialogTest)
#include "test_port_dialog.moc"

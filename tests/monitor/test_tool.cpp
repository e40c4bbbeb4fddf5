#include "config/ini_file.h"
#include "config/port_dialog.h"
#include "fake_serial_port.h"
#include "file_bytes.h"
#include "frames.h"
#include "monitor/tool.h"
#include "scripted_messages.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <map>

namespace {
const QString kPoll7 = QStringLiteral("07 04 01 2C 00 7D F0 78");
const QString kTitle = QStringLiteral("Ошибка открытия порта");

// The controller's whole answer to the poll read: 125 registers, all 0 but those given.
QByteArray pollFrame(const std::map<int, std::uint16_t>& registers) {
    QByteArray frame = Hex("07 04 FA");
    frame.append(250, '\0');
    for (const auto& [k, value] : registers) {
        frame[3 + 2 * k] = static_cast<char>(value >> 8);
        frame[4 + 2 * k] = static_cast<char>(value & 0xFF);
    }
    return WithCrc(frame);
}

// The whole tool on an in-memory port, with a configuration file in a scratch folder.
struct ToolFixture {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("тп.ini"));
    ScriptedMessages boxes;
    FakeSerialPort* port = nullptr;
    std::unique_ptr<Tool> tool;
    int modalRuns = 0;

    explicit ToolFixture(const QByteArray& config, std::set<int> freePorts = {3},
                         std::set<int> heldPorts = {}) {
        if (!config.isEmpty())
            WriteFileBytes(path, config);
        auto fake = std::make_unique<FakeSerialPort>();
        fake->availablePorts = std::move(freePorts);
        fake->heldPorts = std::move(heldPorts);
        port = fake.get();
        tool = std::make_unique<Tool>(std::move(fake), boxes, path, QLatin1Char('.'));
        tool->letEventsRun = [] {};
    }
    MainWindow& window() { return tool->window(); }
    template <typename T = QWidget> T* find(const QString& name) {
        T* found = window().findChild<T*>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QString status() { return window().text(); }
    QByteArray tick() {
        port->written.clear();
        tool->link().ExchangeTick();
        return port->written.isEmpty() ? QByteArray() : port->written.last();
    }
    QByteArray answerAndTick(const QByteArray& answer) {
        port->feed(answer);
        return tick();
    }
    QByteArray configFile() const { return FileBytes(path); }
    // The user's answer to the start-up port dialog: pick the first free port, then OK or
    // Отмена.
    void answerPortDialogWith(const char* button) {
        tool->runModal = [this, button](PortDialog& dialog) {
            ++modalRuns;
            QTest::keyClick(dialog.findChild<QComboBox*>("cmbCOMList"), Qt::Key_Down);
            dialog.findChild<QPushButton*>(button)->click();
        };
    }
};

const QByteArray kCom3 = "[PC config]\r\nCOM=3\r\n";
} // namespace

class ToolTest : public QObject {
    Q_OBJECT
private slots:
    void startsOnAFreePort() {
        ToolFixture f(kCom3);
        QVERIFY(f.tool->start());
        QVERIFY(f.boxes.shown.isEmpty());
        QVERIFY(f.window().isVisible());
        QCOMPARE(f.port->portNumber(), 3);
        QCOMPARE(f.find<QComboBox>("cmb_slad")->currentText(), QString("7"));
        QVERIFY(f.find<QTimer>("Timer1")->isActive());
        QCOMPARE(HexText(f.tick()), kPoll7);
    }

    void firstStartSavesNoAddressEntry() {
        ToolFixture f({}, {1});
        QVERIFY(f.tool->start());
        QCOMPARE(f.configFile(),
                 QByteArray("[PC config]\r\nCOM=1\r\n[QLA config]\r\nMBSLAD=-1\r\n"));
        QCOMPARE(f.find<QComboBox>("cmb_slad")->currentText(), QString("7"));
        QVERIFY(f.port->isOpen());
    }

    void signalGridHas16Columns() {
        ToolFixture f(kCom3);
        QVERIFY(f.tool->start());
        const QRect origin = f.find<QLabel>("lbl_sgl_0")->geometry();
        for (int i = 1; i <= 255; ++i) {
            auto* label = f.find<QLabel>(QStringLiteral("lbl_sgl_%1").arg(i));
            QCOMPARE(label->text(), QString::number(i));
            QVERIFY(label->isVisible());
            QCOMPARE(label->size(), origin.size());
            QCOMPARE(QPoint((label->x() - origin.x()) / origin.width(),
                            (label->y() - origin.y()) / origin.height()),
                     QPoint((i - 1) % 16, (i - 1) / 16));
        }
    }

    void commandsGoOutBehindWhatIsQueued_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("frame");
        QTest::newRow("СТАРТ") << 0 << "07 06 01 92 12 38 24 CF";
        QTest::newRow("СТОП") << 1 << HexText(WithCrc(Hex("07 06 01 92 45 69")));
        QTest::newRow("КВИТ") << 2 << HexText(WithCrc(Hex("07 06 01 92 78 9A")));
        QTest::newRow("ОТКЛ. ЗАЩ") << 3 << HexText(WithCrc(Hex("07 06 01 92 AB C4")));
    }
    void commandsGoOutBehindWhatIsQueued() {
        QFETCH(int, index);
        QFETCH(QString, frame);
        ToolFixture f(kCom3);
        QVERIFY(f.tool->start());
        QCOMPARE(HexText(f.tick()), kPoll7);
        QVERIFY(QueueReadRequest(f.tool->link().request_queue, 0x0010, 2));
        auto* button = f.find<QPushButton>(QStringLiteral("cmd_mode_%1").arg(index));
        QCOMPARE(button->text(), QString(QTest::currentDataTag()));
        button->click();
        QCOMPARE(HexText(f.answerAndTick(pollFrame({}))), HexText(WithCrc(Hex("07 64 00 10 02"))));
        QCOMPARE(HexText(f.answerAndTick(WithCrc(Hex("07 64 00 10 02 00 00")))), frame);
        // Until the controller echoes it, the command is repeated.
        QCOMPARE(HexText(f.tick()), frame);
    }

    void commandWhenTheRingIsFullIsRefusedAndSaidSo() {
        ToolFixture f(kCom3);
        QVERIFY(f.tool->start());
        RequestQueue& ring = f.tool->link().request_queue;
        while (QueueReadRequest(ring, 0x0010, 2)) {
        }
        f.find<QPushButton>("cmd_mode_0")->click();
        QCOMPARE(f.status(), link_text::kQueueFull);
        QCOMPARE(ring.waiting(), RequestQueue::kCapacity);
        const int last = (ring.queue_write + RequestQueue::kSlots - 1) % RequestQueue::kSlots;
        QCOMPARE(ring.queue_frames[last][1], 0x64);
    }

    void pollAnswerOnTheLineReachesTheWindow() {
        ToolFixture f(kCom3);
        QVERIFY(f.tool->start());
        f.tick();
        f.answerAndTick(pollFrame({{3, 0}, {4, 1500}, {2, 1}}));
        QCOMPARE(f.status(), QString("Связь с контроллером ЗАРН установлена"));
        QCOMPARE(f.find<QLabel>("lbl_eng_rpm")->text(), QString("1500 "));
        QCOMPARE(f.find<QLabel>("lbl_object")->text(), QString("ДРА"));
        QCOMPARE(f.find<QLabel>("lbl_tr_id")->text(), QString("1"));
    }

    void startUpPortFailureCancelEndsTheProgram_data() {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QList<int>>("held");
        QTest::addColumn<QString>("message");
        QTest::newRow("held") << kCom3 << QList<int>{3}
                              << "Порт COM3 занят другим приложением\r\nВыберите другой порт";
        QTest::newRow("not available") << QByteArray("[PC config]\r\nCOM=4\r\n") << QList<int>{}
                                       << "Порт COM4 не доступен\r\nВыберите другой порт";
        QTest::newRow("no port configured")
            << QByteArray("[PC config]\r\nCOM=0\r\n") << QList<int>{}
            << "Порт COM0 не доступен\r\nВыберите другой порт";
    }
    void startUpPortFailureCancelEndsTheProgram() {
        QFETCH(QByteArray, config);
        QFETCH(QList<int>, held);
        QFETCH(QString, message);
        ToolFixture f(config, {3}, std::set<int>(held.begin(), held.end()));
        QVERIFY(!f.tool->start());
        QCOMPARE(f.boxes.shown.size(), 1);
        const ScriptedMessages::Shown& box = f.boxes.shown[0];
        QCOMPARE(std::tie(box.title, box.text), std::tie(kTitle, message));
        QVERIFY(box.icon == MessageIcon::Critical && box.buttons == MessageButtons::OkCancel);
        QVERIFY(!f.window().isVisible());
        QVERIFY(!f.port->isOpen());
        QVERIFY(!f.find<QTimer>("Timer1")->isActive());
    }

    void okOpensThePortDialogAndOkThereStartsTheWindow_data() {
        QTest::addColumn<QByteArray>("config");
        QTest::newRow("configured port held") << kCom3;
        QTest::newRow("no port configured") << QByteArray("[PC config]\r\nCOM=0\r\n");
    }
    void okOpensThePortDialogAndOkThereStartsTheWindow() {
        QFETCH(QByteArray, config);
        ToolFixture f(config, {1, 3}, {3});
        f.boxes.answer(MessageAnswer::Ok);
        f.answerPortDialogWith("OK");
        QVERIFY(f.tool->start());
        QCOMPARE(f.boxes.shown.size(), 1);
        QCOMPARE(f.modalRuns, 1);
        QCOMPARE(f.port->portNumber(), 1);
        QCOMPARE(ReadIniValue(f.path, "PC config", "COM", "?"), QString("1"));
        QVERIFY(f.window().isVisible());
        QVERIFY(f.find<QTimer>("Timer1")->isActive());
        QCOMPARE(HexText(f.tick()), kPoll7);
    }

    void cancelInThePortDialogAfterAHeldPortRunsWithoutPort() {
        ToolFixture f(kCom3, {1, 3}, {3});
        f.boxes.answer(MessageAnswer::Ok);
        f.answerPortDialogWith("Отмена");
        QVERIFY(f.tool->start());
        QCOMPARE(f.boxes.shown.size(), 1);
        QVERIFY(!f.port->isOpen());
        QCOMPARE(f.status(), QString("Порт не выбран"));
        QVERIFY(f.window().isVisible());
        QVERIFY(f.tick().isEmpty());
    }

    void withoutAConfiguredPortTheQuestionComesBackUntilOneIsChosen() {
        ToolFixture f("[PC config]\r\nCOM=0\r\n", {1, 3});
        f.boxes.answer(MessageAnswer::Ok);
        f.answerPortDialogWith("Отмена");
        QVERIFY(!f.tool->start());
        QCOMPARE(f.boxes.shown.size(), 2);
        QCOMPARE(f.boxes.shown[1].text, QString("Порт COM0 не доступен\r\nВыберите другой порт"));
        // The port picked and then cancelled in the dialog is not taken behind the user's back.
        QVERIFY(!f.port->isOpen());
    }

    void closingTheWindowEndsTheProgram() {
        ToolFixture f(kCom3);
        QVERIFY(f.tool->start());
        f.find<QAction>("mnu_param")->trigger();
        QWidget* params = f.find("frm_param");
        QVERIFY(params->isVisible());
        const QByteArray config = f.configFile();
        f.window().close();
        QVERIFY(!f.window().isVisible());
        QVERIFY(!params->isVisible());
        QVERIFY(!f.port->isOpen());
        QVERIFY(!f.find<QTimer>("Timer1")->isActive());
        QCOMPARE(f.configFile(), config);
    }

    void parameterWindowFollowsTheBlockedFlag() {
        ToolFixture f(kCom3);
        QVERIFY(f.tool->start());
        auto* menu = f.find<QAction>("mnu_param");
        QCOMPARE(menu->text(), QString("&Программируемые параметры"));
        menu->trigger();
        menu->trigger();
        QCOMPARE(f.window().findChildren<QWidget*>("frm_param").size(), 1);
        QWidget* params = f.find("frm_param");
        auto* paramsFlag = params->findChild<QLabel*>("lbl_modbus_off");
        f.tick();
        f.answerAndTick(pollFrame({{0, 0x8000}}));
        QVERIFY(paramsFlag->isVisibleTo(params));
        QVERIFY(f.find<QLabel>("lbl_modbus_off")->isVisibleTo(&f.window()));
        QVERIFY(!menu->isEnabled());
        f.answerAndTick(WithCrc(Hex("07 10 01 90 00 02")));
        f.answerAndTick(pollFrame({{0, 0x0100}}));
        QVERIFY(!paramsFlag->isVisibleTo(params));
        QVERIFY(menu->isEnabled());
    }

    void portMenuOpensOneDialog() {
        ToolFixture f(kCom3, {1, 3});
        QVERIFY(f.tool->start());
        auto* menu = f.find<QAction>("mnu_settings");
        QCOMPARE(menu->text(), QString("&Настройка порта"));
        menu->trigger();
        menu->trigger();
        QList<QWidget*> dialogs;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "wndSetCOM" && w->isVisible())
                dialogs.append(w);
        QCOMPARE(dialogs.size(), 1);
        QVERIFY(f.port->isOpen());
        QCOMPARE(f.port->portNumber(), 3);
        dialogs[0]->findChild<QPushButton*>("Отмена")->click();
        QVERIFY(f.port->isOpen());
    }
};

QTEST_MAIN(ToolTest)
#include "test_tool.moc"

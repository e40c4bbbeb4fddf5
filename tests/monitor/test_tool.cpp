#include "config/port_dialog.h"
#include "file_bytes.h"
#include "link_rig.h"
#include "monitor/tool.h"
#include "scripted_messages.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {
const QString kPoll7 = QStringLiteral("07 04 01 2C 00 7D F0 78");
const QByteArray kCom3 = "[PC config]\r\nCOM=3\r\n";

// The whole tool on an in-memory port, with a configuration file in a scratch folder. The
// start-up port dialog, when it comes, picks the first port of its list and is left with
// `dialogButton`.
struct ToolFixture {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("тп.ini"));
    ScriptedMessages boxes;
    FakeSerialPort* port = nullptr;
    std::unique_ptr<Tool> tool;

    explicit ToolFixture(const QByteArray& config, QList<int> freePorts = {3},
                         QList<int> heldPorts = {}, const QString& dialogButton = {}) {
        if (!config.isEmpty())
            WriteFileBytes(path, config);
        auto fake = std::make_unique<FakeSerialPort>();
        fake->availablePorts = {freePorts.begin(), freePorts.end()};
        fake->heldPorts = {heldPorts.begin(), heldPorts.end()};
        port = fake.get();
        tool = std::make_unique<Tool>(std::move(fake), boxes, path, QLatin1Char('.'));
        tool->letEventsRun = [] {};
        tool->runModal = [dialogButton](PortDialog& dialog) {
            QTest::keyClick(dialog.findChild<QComboBox*>("cmbCOMList"), Qt::Key_Down);
            dialog.findChild<QPushButton*>(dialogButton)->click();
        };
    }
    MainWindow& window() { return tool->window(); }
    template <typename T = QWidget> T* find(const QString& name) {
        T* found = window().findChild<T*>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QByteArray tick() { return TickAndTakeFrame(tool->link(), *port); }
    QByteArray answer(const QByteArray& bytes) {
        port->feed(bytes);
        return tick();
    }
};
} // namespace

class ToolTest : public QObject {
    Q_OBJECT
private slots:
    // Each box offers another port (OK) or the end of the program; the boxes not scripted as
    // OK are answered with Cancel. The configuration names COM<com> (none at all for -1).
    void startUp_data() {
        QTest::addColumn<int>("com");
        QTest::addColumn<QList<int>>("free");
        QTest::addColumn<QList<int>>("held");
        QTest::addColumn<int>("oks");
        QTest::addColumn<QString>("dialogButton");
        QTest::addColumn<QStringList>("boxTexts");
        QTest::addColumn<int>("openPort");     // 0: none
        QTest::addColumn<QByteArray>("saved"); // empty: as it was
        const auto held = [](int n) {
            return QString("Порт COM%1 занят другим приложением\r\nВыберите другой порт").arg(n);
        };
        const auto absent = [](int n) {
            return QString("Порт COM%1 не доступен\r\nВыберите другой порт").arg(n);
        };
        // OK in the port dialog saves the port and the slave address.
        const QByteArray chosen1 = "[PC config]\r\nCOM=1\r\n[QLA config]\r\nMBSLAD=7\r\n";
        const QList<int> none, com3{3}, com1And3{1, 3};
        QTest::newRow("free port")
            << 3 << com3 << none << 0 << "" << QStringList{} << 3 << QByteArray();
        QTest::newRow("first start")
            << -1 << QList<int>{1} << none << 0 << "" << QStringList{} << 1
            << QByteArray("[PC config]\r\nCOM=1\r\n[QLA config]\r\nMBSLAD=-1\r\n");
        QTest::newRow("held, cancel")
            << 3 << com3 << com3 << 0 << "" << QStringList{held(3)} << 0 << QByteArray();
        QTest::newRow("not available, cancel")
            << 4 << com3 << none << 0 << "" << QStringList{absent(4)} << 0 << QByteArray();
        QTest::newRow("no port, cancel")
            << 0 << com3 << none << 0 << "" << QStringList{absent(0)} << 0 << QByteArray();
        QTest::newRow("held, another chosen")
            << 3 << com1And3 << com3 << 1 << "OK" << QStringList{held(3)} << 1 << chosen1;
        QTest::newRow("no port, another chosen")
            << 0 << com1And3 << none << 1 << "OK" << QStringList{absent(0)} << 1 << chosen1;
        QTest::newRow("held, dialog cancelled: runs without port")
            << 3 << com1And3 << com3 << 1 << "Отмена" << QStringList{held(3)} << 0 << QByteArray();
        // The port picked and then cancelled is not taken behind the user's back.
        QTest::newRow("no port, dialog cancelled: asked again")
            << 0 << com1And3 << none << 1 << "Отмена" << QStringList{absent(0), absent(0)} << 0
            << QByteArray();
    }
    void startUp() {
        QFETCH(int, com);
        QFETCH(QList<int>, free);
        QFETCH(QList<int>, held);
        QFETCH(int, oks);
        QFETCH(QString, dialogButton);
        QFETCH(QStringList, boxTexts);
        QFETCH(int, openPort);
        QFETCH(QByteArray, saved);
        const QByteArray config =
            com < 0 ? QByteArray() : "[PC config]\r\nCOM=" + QByteArray::number(com) + "\r\n";
        ToolFixture f(config, free, held, dialogButton);
        for (int i = 0; i < oks; ++i)
            f.boxes.answer(MessageAnswer::Ok);
        const bool started = f.tool->start();
        QCOMPARE(started, boxTexts.size() == oks);
        QStringList shown;
        for (const ScriptedMessages::Shown& box : f.boxes.shown) {
            QCOMPARE(box.title, QString("Ошибка открытия порта"));
            QVERIFY(box.icon == MessageIcon::Critical && box.buttons == MessageButtons::OkCancel);
            shown << box.text;
        }
        QCOMPARE(shown, boxTexts);
        QCOMPARE(f.window().isVisible(), started);
        QCOMPARE(f.find<QTimer>("Timer1")->isActive(), started);
        QCOMPARE(f.port->isOpen() ? f.port->portNumber() : 0, openPort);
        QCOMPARE(FileBytes(f.path), saved.isEmpty() ? config : saved);
        if (started) {
            QCOMPARE(f.find<QComboBox>("cmb_slad")->currentText(), QString("7"));
            if (!openPort)
                QCOMPARE(f.window().text(), QString("Порт не выбран"));
            QCOMPARE(HexText(f.tick()), openPort ? kPoll7 : QString());
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
        f.tick();
        QVERIFY(QueueReadRequest(f.tool->link().request_queue, 0x0010, 2));
        auto* button = f.find<QPushButton>(QStringLiteral("cmd_mode_%1").arg(index));
        QCOMPARE(button->text(), QString(QTest::currentDataTag()));
        button->click();
        QCOMPARE(HexText(f.answer(PollFrame({}))), HexText(WithCrc(Hex("07 64 00 10 02"))));
        QCOMPARE(HexText(f.answer(WithCrc(Hex("07 64 00 10 02 00 00")))), frame);
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
        QCOMPARE(f.window().text(), link_text::kQueueFull);
        QCOMPARE(ring.waiting(), RequestQueue::kCapacity);
    }

    void closingTheWindowEndsTheProgram() {
        ToolFixture f(kCom3);
        QVERIFY(f.tool->start());
        f.find<QAction>("mnu_param")->trigger();
        QWidget* params = f.find("frm_param");
        QVERIFY(params->isVisible());
        f.window().close();
        QVERIFY(!f.window().isVisible() && !params->isVisible());
        QVERIFY(!f.port->isOpen());
        QVERIFY(!f.find<QTimer>("Timer1")->isActive());
        QCOMPARE(FileBytes(f.path), kCom3);
    }

    void pollAnswersReachBothWindows() {
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
        f.answer(PollFrame({{0, 0x8000}, {4, 1500}}));
        QCOMPARE(f.find<QLabel>("lbl_eng_rpm")->text(), QString("1500 "));
        QVERIFY(paramsFlag->isVisibleTo(params));
        QVERIFY(f.find<QLabel>("lbl_modbus_off")->isVisibleTo(&f.window()));
        QVERIFY(!menu->isEnabled());
        f.answer(WithCrc(Hex("07 10 01 90 00 02")));
        f.answer(PollFrame({{0, 0x0100}}));
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
        dialogs[0]->findChild<QPushButton*>("Отмена")->click();
        QVERIFY(f.port->isOpen());
        QCOMPARE(f.port->portNumber(), 3);
    }
};

QTEST_MAIN(ToolTest)
#include "test_tool.moc"

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

using Ports = std::set<int>;
Q_DECLARE_METATYPE(Ports)

namespace {
const QByteArray kCom3 = "[PC config]\r\nCOM=3\r\n";

// The whole tool on an in-memory port, with a configuration file in a scratch folder. Message
// boxes are answered OK when there is a `dialogButton`, then Cancel; the port dialog they bring
// picks the first port of its list and is left with that button.
struct ToolFixture {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("тп.ini"));
    ScriptedMessages boxes;
    FakeSerialPort* port = new FakeSerialPort;
    Tool tool{std::unique_ptr<SerialPort>(port), boxes, path, QLatin1Char('.')};
    MainWindow& window = tool.window();

    explicit ToolFixture(const QByteArray& config, Ports free = {3}, Ports held = {},
                         const QString& dialogButton = {}) {
        if (!config.isEmpty())
            WriteFileBytes(path, config);
        port->availablePorts = free;
        port->heldPorts = held;
        tool.letEventsRun = [] {};
        tool.runModal = [dialogButton](PortDialog& dialog) {
            QTest::keyClick(dialog.findChild<QComboBox*>("cmbCOMList"), Qt::Key_Down);
            dialog.findChild<QPushButton*>(dialogButton)->click();
        };
        if (!dialogButton.isEmpty())
            boxes.answer(MessageAnswer::Ok);
    }
    QString answer(const QByteArray& bytes) {
        return port->feed(bytes), HexText(TickAndTakeFrame(tool.link(), *port));
    }
    bool running() { return window.isVisible() && window.findChild<QTimer*>("Timer1")->isActive(); }
};
} // namespace

class ToolTest : public QObject {
    Q_OBJECT
private slots:
    // The configuration names COM<com> (none at all for -1). A box offers another port or the
    // end of the program; `seen` lists the boxes, the outcome and the file saved, if any.
    void startUp_data() {
        QTest::addColumn<int>("com");
        QTest::addColumn<Ports>("free");
        QTest::addColumn<Ports>("held");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("seen");
        const auto row = [](const char* name, int com, Ports free, Ports held, const char* button,
                            QStringList seen) {
            QTest::newRow(name) << com << free << held << QString(button) << seen;
        };
        const QString held = "Порт COM3 занят другим приложением",
                      absent = "Порт COM%1 не доступен";
        // OK in the port dialog saves the port and the slave address.
        const QString saved = "[PC config]\r\nCOM=1\r\n[QLA config]\r\nMBSLAD=";
        row("free port", 3, {3}, {}, "", {"runs on COM3"});
        row("first start", -1, {1}, {}, "", {"runs on COM1", saved + "-1\r\n"});
        row("held, cancel", 3, {3}, {3}, "", {held, "ends"});
        row("held, another chosen", 3, {1, 3}, {3}, "OK", {held, "runs on COM1", saved + "7\r\n"});
        row("held, dialog cancelled", 3, {1, 3}, {3}, "Отмена", {held, "runs on Порт не выбран"});
        // The port picked and then cancelled is not taken behind the user's back.
        row("no port, dialog cancelled", 0, {1, 3}, {}, "Отмена",
            {absent.arg(0), absent.arg(0), "ends"});
    }
    void startUp() {
        QFETCH(int, com);
        QFETCH(Ports, free);
        QFETCH(Ports, held);
        QFETCH(QString, button);
        const QByteArray config =
            com < 0 ? "" : "[PC config]\r\nCOM=" + QByteArray::number(com) + "\r\n";
        ToolFixture f(config, free, held, button);
        const bool started = f.tool.start();
        QStringList seen;
        for (const ScriptedMessages::Shown& box : f.boxes.shown) {
            QVERIFY(box.icon == MessageIcon::Critical && box.buttons == MessageButtons::OkCancel);
            QCOMPARE(box.title, QString("Ошибка открытия порта"));
            QVERIFY(box.text.endsWith("\r\nВыберите другой порт"));
            seen << box.text.section("\r\n", 0, 0);
        }
        const QString port =
            f.port->isOpen() ? "COM" + QString::number(f.port->portNumber()) : f.window.text();
        seen << (!started ? "ends" : f.running() ? "runs on " + port : "not shown");
        if (FileBytes(f.path) != config)
            seen << FileBytes(f.path);
        QTEST(seen, "seen");
        QCOMPARE(f.answer({}), QString(f.port->isOpen() ? "07 04 01 2C 00 7D F0 78" : ""));
    }

    // The commands go out behind the poll in flight, in the order clicked; one that does not
    // fit into the ring is refused, and the user is told.
    void commandButtons() {
        ToolFixture f(kCom3);
        QVERIFY(f.tool.start());
        f.answer({});
        QStringList seen;
        for (int i = 0; i < 4; ++i) {
            auto* button = f.window.findChild<QPushButton*>(QStringLiteral("cmd_mode_%1").arg(i));
            seen << button->text();
            button->click();
        }
        for (int i = 0; i < 4; ++i)
            seen << f.answer(PollFrame({})).left(17);
        QCOMPARE(seen,
                 (QStringList{"СТАРТ", "СТОП", "КВИТ", "ОТКЛ. ЗАЩ", "07 06 01 92 12 38",
                              "07 06 01 92 45 69", "07 06 01 92 78 9A", "07 06 01 92 AB C4"}));
        while (QueueReadRequest(f.tool.link().request_queue, 0x0010, 2)) {
        }
        f.window.findChild<QPushButton*>("cmd_mode_0")->click();
        QCOMPARE(f.window.text(), QString("Очередь запросов переполнена"));
    }

    // A poll answer reaches the parameter window too (opened once, however often asked for);
    // closing the main window ends the program: windows hidden, port closed, file untouched.
    void pollAnswersReachBothWindowsUntilTheEnd() {
        ToolFixture f(kCom3);
        QVERIFY(f.tool.start());
        auto* menu = f.window.findChild<QAction*>("mnu_param");
        menu->trigger();
        menu->trigger();
        QCOMPARE(f.window.findChildren<QWidget*>("frm_param").size(), 1);
        QWidget* params = f.window.findChild<QWidget*>("frm_param");
        auto* blocked = params->findChild<QLabel*>("lbl_modbus_off");
        f.answer({});
        f.answer(PollFrame({{0, 0x8000}}));
        QVERIFY(blocked->isVisibleTo(params) && !menu->isEnabled());
        f.answer(WithCrc(Hex("07 10 01 90 00 02")));
        f.answer(PollFrame({}));
        QVERIFY(!blocked->isVisibleTo(params) && menu->isEnabled());
        f.window.close();
        QVERIFY(!f.running() && !params->isVisible() && !f.port->isOpen());
        QCOMPARE(FileBytes(f.path), kCom3);
    }
};

QTEST_MAIN(ToolTest)
#include "test_tool.moc"

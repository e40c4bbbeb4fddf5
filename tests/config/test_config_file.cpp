#include "config/chosen_line.h"
#include "config/com_port_map.h"
#include "config/config_file.h"
#include "file_bytes.h"
#include "recording_host.h"
#include "scripted_messages.h"

#include <QTemporaryDir>
#include <QtTest>

static const QString kTitle = QStringLiteral("Ошибка открытия файла ");

class ConfigFileTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("тп.ini"));
    RecordingHost host;
    ScriptedMessages boxes;

private slots:
    void init() {
        QFile::remove(path);
        host = RecordingHost();
        host.address = 12;
        boxes = ScriptedMessages();
    }

    // The port read, and the device it names: an entry of the port map, or else the on-board,
    // USB serial and USB modem ranges. A bad value brings the read-error box; Cancel there
    // leaves port 1 and the file as it was.
    void portFromTheFile_data() {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QString>("device");
        const auto row = [](const char* lines, int expected, const char* device) {
            QTest::newRow(lines) << QByteArray(lines) << expected << QString(device);
        };
        row("COM=0", 0, "");
        row("COM=255", 255, "");
        row("COM=2.5", 2, "/dev/ttyS1");
        row("COM=3,5", 4, "/dev/ttyS3");
        row(" com = 5 ", 5, "/dev/ttyUSB0");
        row("BAUD=9600", 1, "/dev/ttyS0");
        row("COM=12", 12, "/dev/ttyUSB7");
        row("COM=13", 13, "/dev/ttyACM0");
        row("COM=16", 16, "/dev/ttyACM3");
        row("COM=17", 17, "");
        for (const char* bad : {"COM=256", "COM=255.5", "COM=-1", "COM=abc", "COM=3abc", "COM="})
            row(bad, -1, "/dev/ttyS0");
    }
    void portFromTheFile() {
        QFETCH(QByteArray, lines);
        QFETCH(int, expected);
        const QByteArray content = "[pc CONFIG]\r\n" + lines + "\r\n";
        WriteFileBytes(path, content);
        ConfigFile config(path, host, boxes);
        config.LoadConfig();
        QCOMPARE(FileBytes(path), content);
        QTEST(DevicePathForCom(path, config.com_port), "device");
        QCOMPARE(config.com_port, expected < 0 ? 1 : expected);
        QVERIFY(boxes.showedOnly(MessageIcon::Critical, MessageButtons::RetryCancel, kTitle,
                                 "Ошибка открытия файла тп.ini для чтения\r\n", expected < 0));
        QCOMPARE(host.status, expected < 0 ? "Чтение конфигурации" : "");
    }

    // A serial device server, named on the command line or by a COM number's port map entry
    // (which opens at once, connecting in the background); whatever is malformed names no line,
    // and a COM number mapped to it does not open.
    void networkLines_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name"); // empty: no line
        QTest::newRow("IPv4") << "tcp://127.0.0.1:4001"
                              << "tcp://127.0.0.1:4001";
        QTest::newRow("name") << "TCP://Converter.local:502"
                              << "tcp://converter.local:502";
        QTest::newRow("IPv6") << "tcp://[::1]:502"
                              << "tcp://[::1]:502";
        QTest::newRow("COM number") << "9"
                                    << "COM9";
        for (const char* bad : {"tcp://127.0.0.1", "tcp://127.0.0.1:0", "tcp://127.0.0.1:65536",
                                "tcp://127.0.0.1:4001/x", "tcp://user@127.0.0.1:4001",
                                "tcp://:4001", "tcp://127.0.0.1:4001?x", "tcp:127.0.0.1:4001"})
            QTest::newRow(bad) << bad << "";
        QTest::newRow("other scheme") << "udp://127.0.0.1:4001"
                                      << "";
    }
    void networkLines() {
        QFETCH(QString, text);
        QFETCH(QString, name);
        const std::optional<LineAddress> given = LineAddressFromText(text);
        QCOMPARE(given ? LineName(*given) : QString(), name);
        if (!text.startsWith("tcp:", Qt::CaseInsensitive))
            return;
        WriteFileBytes(path, "[Ports]\r\nCOM9=" + text.toUtf8() + "\r\n");
        QCOMPARE(ComPortName(path, {9}), "COM9 (" + (name.isEmpty() ? text : name) + ")");
        if (given)
            QCOMPARE(ComPortName(path, *given), name);
        ChosenLine line(LinesOfThisMachine(path));
        QVERIFY(line.choose({9}));
        const bool loopback = name.startsWith("tcp://127.") || name.startsWith("tcp://[::1]");
        if (name.isEmpty() || loopback)
            QCOMPARE(line.open(), name.isEmpty() ? OpenOutcome::NotAvailable : OpenOutcome::Opened);
    }

    // Retry reads the file again; the port map names the device; a save keeps the map, comments
    // and unknown keys, and writes the slave address, which is never read.
    void retryThenSave() {
        const QByteArray before =
            "; by hand\r\n[ports]\r\ncom3 = /dev/serial/by-id/usb-RS485\r\n\r\n"
            "[PC config]\r\nCOM=x\r\nNote=1\r\n[QLA config]\r\nMBSLAD=5\r\n";
        WriteFileBytes(path, before);
        boxes.answer(MessageAnswer::Retry);
        boxes.answer(MessageAnswer::Retry,
                     [&] { WriteFileBytes(path, QByteArray(before).replace("=x", "=3")); });
        ConfigFile config(path, host, boxes);
        config.LoadConfig();
        QCOMPARE(boxes.shown.size(), 2);
        QCOMPARE(DevicePathForCom(path, config.com_port), "/dev/serial/by-id/usb-RS485");
        config.com_port = 4;
        config.SaveConfig();
        QCOMPARE(FileBytes(path), QByteArray(before).replace("=x", "=4").replace("=5", "=12"));
    }

    // The first start writes the file; where it cannot be written (tests run as root: a plain
    // file stands where the folder should be) the write-error box comes until Cancel.
    void firstStart() {
        WriteFileBytes(dir.filePath("plain"), "x");
        boxes.answer(MessageAnswer::Retry);
        ConfigFile blocked(dir.filePath("plain/тп.ini"), host, boxes);
        blocked.LoadConfig();
        QVERIFY(boxes.showedOnly(MessageIcon::Critical, MessageButtons::RetryCancel, kTitle,
                                 "Ошибка открытия файла тп.ini для записи", 2));
        QCOMPARE(host.status_history, (QStringList{"Сохранение конфигурации", "", ""}));
        ConfigFile config(path, host, boxes);
        config.com_port = 9;
        config.LoadConfig();
        QCOMPARE(config.com_port, 1);
        QCOMPARE(FileBytes(path), "[PC config]\r\nCOM=1\r\n[QLA config]\r\nMBSLAD=12\r\n");
        QCOMPARE(boxes.shown.size(), 2);
    }
};

QTEST_GUILESS_MAIN(ConfigFileTest)
#include "test_config_file.moc"

#include "config/com_port_map.h"
#include "config/config_file.h"
#include "file_bytes.h"
#include "recording_host.h"
#include "scripted_messages.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kReading = QStringLiteral("Чтение конфигурации");
const QString kSaving = QStringLiteral("Сохранение конфигурации");
const QString kTitle = QStringLiteral("Ошибка открытия файла ");
const QString kReadError = QStringLiteral("Ошибка открытия файла тп.ini для чтения\r\n");
const QString kWriteError = QStringLiteral("Ошибка открытия файла тп.ini для записи");
} // namespace

class ConfigFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString path;
    RecordingHost host;

private slots:
    void init() {
        path = dir.filePath(QStringLiteral("тп.ini"));
        QFile::remove(path);
        host = RecordingHost();
        host.address = -1;
    }

    void firstStartCreatesTheFile() {
        QCOMPARE(DevicePathForCom(path, 6), QString("/dev/ttyUSB1")); // no file, no map
        ScriptedMessages boxes;
        ConfigFile config(path, host, boxes);
        config.com_port = 9;
        config.LoadConfig();
        QCOMPARE(config.com_port, 1);
        QCOMPARE(FileBytes(path),
                 QByteArray("[PC config]\r\nCOM=1\r\n[QLA config]\r\nMBSLAD=-1\r\n"));
        QCOMPARE(host.statusHistory, (QStringList{kSaving, QString(), QString()}));
        QVERIFY(boxes.shown.isEmpty());
    }

    // The port number read, and the device it names: an entry of the port map, or else the
    // on-board, USB serial and USB modem ranges. A bad value brings the read-error box; Cancel
    // there leaves port 1 and the file as it was.
    void portFromTheFile_data() {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QString>("device");
        const auto row = [](const char* lines, int expected, const char* device) {
            QTest::newRow(lines) << QByteArray(lines) << expected << QString(device);
        };
        row("COM=4", 4, "/dev/ttyS3");
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
        row("COM=3\r\n[ports]\r\ncom3 = /dev/pts/7", 3, "/dev/pts/7");
        row("COM=200\r\n[Ports]\r\nCOM200=/dev/serial/by-id/usb-RS485", 200,
            "/dev/serial/by-id/usb-RS485");
        for (const char* bad : {"COM=300", "COM=255.5", "COM=-1", "COM=abc", "COM=3abc", "COM="})
            row(bad, -1, "/dev/ttyS0");
    }
    void portFromTheFile() {
        QFETCH(QByteArray, lines);
        QFETCH(int, expected);
        const QByteArray content = "[pc CONFIG]\r\n" + lines + "\r\n";
        WriteFileBytes(path, content);
        ScriptedMessages boxes;
        ConfigFile config(path, host, boxes);
        config.LoadConfig();
        QCOMPARE(FileBytes(path), content);
        QTEST(DevicePathForCom(path, config.com_port), "device");
        if (expected < 0) {
            boxes.expectOnly(MessageIcon::Critical, MessageButtons::RetryCancel, kTitle,
                             kReadError);
            QCOMPARE(config.com_port, 1);
            QCOMPARE(host.status, kReading);
        } else {
            QVERIFY(boxes.shown.isEmpty());
            QCOMPARE(config.com_port, expected);
            QCOMPARE(host.statusHistory, (QStringList{kReading, QString()}));
        }
    }

    void retryReadsTheFileAgain() {
        WriteFileBytes(path, "[PC config]\r\nCOM=abc\r\n");
        ScriptedMessages boxes;
        boxes.answer(MessageAnswer::Retry);
        boxes.answer(MessageAnswer::Retry,
                     [this] { WriteFileBytes(path, "[PC config]\r\nCOM=5\r\n"); });
        ConfigFile config(path, host, boxes);
        config.LoadConfig();
        QCOMPARE(boxes.shown.size(), 2);
        QCOMPARE(config.com_port, 5);
        QCOMPARE(host.status, QString());
    }

    // The port map, comments and unknown keys survive; the slave entry is written, never read.
    void saveKeepsEveryOtherLine() {
        const QByteArray before = "; written by hand\r\n[Ports]\r\n"
                                  "COM3=/dev/serial/by-id/usb-FTDI_RS485-if00-port0\r\n\r\n"
                                  "[PC config]\r\nCOM=3\r\nNote=keep me\r\n"
                                  "[QLA config]\r\nMBSLAD=5\r\n";
        WriteFileBytes(path, before);
        host.address = 12;
        ScriptedMessages boxes;
        ConfigFile config(path, host, boxes);
        config.LoadConfig();
        QCOMPARE(host.address, 12);
        config.com_port = 4;
        config.SaveConfig();
        QByteArray expected = before;
        expected.replace("COM=3\r\n", "COM=4\r\n").replace("MBSLAD=5", "MBSLAD=12");
        QCOMPARE(FileBytes(path), expected);
    }

    // Tests run as root, so a plain file where the folder should be is what makes writing fail;
    // a folder named like the file counts as a missing file that cannot be created.
    void unwritableFileBringsTheWriteErrorBox_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("retries");
        QTest::newRow("below a plain file, cancel") << "not-a-folder/тп.ini" << 0;
        QTest::newRow("below a plain file, retry") << "not-a-folder/тп.ini" << 1;
        QTest::newRow("folder in its place") << "тп.ini" << 0;
    }
    void unwritableFileBringsTheWriteErrorBox() {
        QFETCH(QString, name);
        QFETCH(int, retries);
        WriteFileBytes(dir.filePath("not-a-folder"), "x");
        QVERIFY(QDir(dir.path()).mkpath("тп.ini"));
        ScriptedMessages boxes;
        for (int i = 0; i < retries; ++i)
            boxes.answer(MessageAnswer::Retry);
        ConfigFile config(dir.filePath(name), host, boxes);
        config.LoadConfig();
        boxes.expectOnly(MessageIcon::Critical, MessageButtons::RetryCancel, kTitle, kWriteError,
                         retries + 1);
        QCOMPARE(config.com_port, 1);
        QCOMPARE(host.status, QString());
        QVERIFY(!QFileInfo(dir.filePath(name)).isFile());
        QVERIFY(QDir(dir.path()).rmdir("тп.ini"));
    }
};

QTEST_GUILESS_MAIN(ConfigFileTest)
#include "test_config_file.moc"

#include "config/config_file.h"
#include "config/ini_file.h"
#include "recording_host.h"
#include "scripted_boxes.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kReading = QStringLiteral("Чтение конфигурации");
const QString kSaving = QStringLiteral("Сохранение конфигурации");
const QString kTitle = QStringLiteral("Ошибка открытия файла ");
const QString kReadError = QStringLiteral("Ошибка открытия файла тп.ini для чтения\r\n");
const QString kWriteError = QStringLiteral("Ошибка открытия файла тп.ini для записи");

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
} // namespace

class ConfigFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString path;
    RecordingHost host;
    ScriptedBoxes boxes;

private slots:
    void init() {
        path = dir.filePath(QStringLiteral("тп.ini"));
        QFile::remove(path);
        host = RecordingHost();
        host.address = -1;
        boxes = ScriptedBoxes();
    }

    void firstStartCreatesTheFile() {
        ConfigFile config(path, host, boxes);
        config.com_port = 9;
        config.LoadConfig();
        QCOMPARE(config.com_port, 1);
        QCOMPARE(readAll(path),
                 QByteArray("[PC config]\r\nCOM=1\r\n[QLA config]\r\nMBSLAD=-1\r\n"));
        QCOMPARE(host.statusHistory, (QStringList{kSaving, QString(), QString()}));
        QCOMPARE(host.repaints, 1);
        QVERIFY(boxes.asked.isEmpty());
    }

    void portNumberFromTheFile_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("readError");
        QTest::newRow("3") << QByteArray("[PC config]\r\nCOM=3\r\n") << 3 << false;
        QTest::newRow("0, no port") << QByteArray("[PC config]\r\nCOM=0\r\n") << 0 << false;
        QTest::newRow("255") << QByteArray("[PC config]\r\nCOM=255\r\n") << 255 << false;
        QTest::newRow("2.5 to even") << QByteArray("[PC config]\r\nCOM=2.5\r\n") << 2 << false;
        QTest::newRow("3,5 to even") << QByteArray("[PC config]\r\nCOM=3,5\r\n") << 4 << false;
        QTest::newRow("blanks") << QByteArray("[pc config]\r\n com = 7 \r\n") << 7 << false;
        QTest::newRow("no key") << QByteArray("[PC config]\r\nBAUD=9600\r\n") << 1 << false;
        QTest::newRow("no section") << QByteArray("[Ports]\r\nCOM3=/dev/pts/4\r\n") << 1 << false;
        QTest::newRow("300") << QByteArray("[PC config]\r\nCOM=300\r\n") << 1 << true;
        QTest::newRow("255.5 rounds to 256")
            << QByteArray("[PC config]\r\nCOM=255.5\r\n") << 1 << true;
        QTest::newRow("-1") << QByteArray("[PC config]\r\nCOM=-1\r\n") << 1 << true;
        QTest::newRow("abc") << QByteArray("[PC config]\r\nCOM=abc\r\n") << 1 << true;
        QTest::newRow("3abc") << QByteArray("[PC config]\r\nCOM=3abc\r\n") << 1 << true;
        QTest::newRow("empty") << QByteArray("[PC config]\r\nCOM=\r\n") << 1 << true;
    }
    void portNumberFromTheFile() {
        QFETCH(QByteArray, content);
        QFETCH(int, expected);
        QFETCH(bool, readError);
        writeAll(path, content);
        ConfigFile config(path, host, boxes);
        config.LoadConfig();
        QCOMPARE(config.com_port, expected);
        QCOMPARE(readAll(path), content);
        QCOMPARE(host.repaints, 1);
        if (readError) {
            QCOMPARE(boxes.asked.size(), 1);
            QCOMPARE(boxes.asked[0].icon, MessageIcon::Critical);
            QCOMPARE(boxes.asked[0].title, kTitle);
            QCOMPARE(boxes.asked[0].text, kReadError);
            QCOMPARE(boxes.asked[0].buttons, MessageButtons::RetryCancel);
            QCOMPARE(host.status, kReading);
        } else {
            QVERIFY(boxes.asked.isEmpty());
            QCOMPARE(host.statusHistory, (QStringList{kReading, QString()}));
        }
    }

    void retryReadsTheFileAgain() {
        writeAll(path, "[PC config]\r\nCOM=abc\r\n");
        boxes.answers = {MessageAnswer::Retry, MessageAnswer::Retry};
        boxes.onAsk = [this] {
            if (boxes.asked.size() == 2)
                writeAll(path, "[PC config]\r\nCOM=5\r\n");
        };
        ConfigFile config(path, host, boxes);
        config.LoadConfig();
        QCOMPARE(boxes.asked.size(), 2);
        QCOMPARE(config.com_port, 5);
        QCOMPARE(host.status, QString());
    }

    void saveKeepsEveryOtherLine() {
        const QByteArray before = "; written by hand\r\n"
                                  "[Ports]\r\n"
                                  "COM3=/dev/serial/by-id/usb-FTDI_RS485-if00-port0\r\n"
                                  "\r\n"
                                  "[PC config]\r\n"
                                  "COM=3\r\n"
                                  "Note=keep me\r\n"
                                  "[QLA config]\r\n"
                                  "MBSLAD=5\r\n";
        writeAll(path, before);
        host.address = 12;
        ConfigFile config(path, host, boxes);
        config.com_port = 4;
        config.SaveConfig();
        QByteArray expected = before;
        expected.replace("COM=3\r\n", "COM=4\r\n").replace("MBSLAD=5", "MBSLAD=12");
        QCOMPARE(readAll(path), expected);
        QCOMPARE(host.statusHistory, (QStringList{kSaving, QString()}));
    }

    void slaveEntryInTheFileIsNotReadBack() {
        writeAll(path, "[PC config]\r\nCOM=2\r\n[QLA config]\r\nMBSLAD=5\r\n");
        host.address = 7;
        ConfigFile config(path, host, boxes);
        config.LoadConfig();
        QCOMPARE(host.address, 7);
    }

    void unwritableFolderBringsTheWriteErrorBox_data() {
        QTest::addColumn<QList<MessageAnswer>>("answers");
        QTest::addColumn<int>("boxesShown");
        QTest::newRow("cancel") << QList<MessageAnswer>{} << 1;
        QTest::newRow("retry, then cancel") << QList<MessageAnswer>{MessageAnswer::Retry} << 2;
    }
    void unwritableFolderBringsTheWriteErrorBox() {
        QFETCH(QList<MessageAnswer>, answers);
        QFETCH(int, boxesShown);
        // A plain file where the folder should be: even root cannot create a file below it.
        const QString blocker = dir.filePath(QStringLiteral("not-a-folder"));
        writeAll(blocker, "x");
        const QString blocked = blocker + QStringLiteral("/тп.ini");
        boxes.answers = answers;
        ConfigFile config(blocked, host, boxes);
        config.LoadConfig();
        QCOMPARE(boxes.asked.size(), boxesShown);
        for (const AskedBox& box : boxes.asked) {
            QCOMPARE(box.icon, MessageIcon::Critical);
            QCOMPARE(box.title, kTitle);
            QCOMPARE(box.text, kWriteError);
            QCOMPARE(box.buttons, MessageButtons::RetryCancel);
        }
        QCOMPARE(config.com_port, 1);
        QCOMPARE(host.status, QString());
        QVERIFY(!QFileInfo::exists(blocked));
    }

    void folderInPlaceOfTheFileCountsAsMissing() {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("тп.ini")));
        ConfigFile config(path, host, boxes);
        config.LoadConfig();
        QCOMPARE(boxes.asked.size(), 1);
        QCOMPARE(boxes.asked[0].text, kWriteError);
        QCOMPARE(config.com_port, 1);
        QVERIFY(QDir(dir.path()).rmdir(QStringLiteral("тп.ini")));
    }
};

QTEST_GUILESS_MAIN(ConfigFileTest)
#include "test_config_file.moc"

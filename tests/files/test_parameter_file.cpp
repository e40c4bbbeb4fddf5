#include "file_bytes.h"
#include "files/parameter_backup.h"
#include "files/parameter_file.h"
#include "params/memory_param_boxes.h"
#include "params/param_values.h"
#include "recording_host.h"
#include "scripted_messages.h"

#include <QDir>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

Q_DECLARE_METATYPE(MessageAnswer)

namespace {

// Texts as shown: a decimal comma and a trailing blank the file keeps, plain, and empty.
QString ShownText(int i) {
    return i == 9 ? QString() : i % 3 == 0 ? QString::number(i) + ",5 " : QString::number(i * 7);
}

QByteArray KeyLines(int from, int to) {
    QByteArray lines;
    for (int i = from; i <= to; ++i)
        lines += "PAR" + QByteArray::number(i) + "=" + ShownText(i).toLatin1() + "\r\n";
    return lines;
}

const QByteArray kNewFile = "[Parameters]\r\n" + KeyLines(0, 505);

QString Box(MessageIcon icon, MessageButtons buttons, const QString& title, const QString& text) {
    return QString("%1/%2 %3: %4").arg(int(icon)).arg(int(buttons)).arg(title, text);
}
QString CannotOpen(MessageButtons buttons, const QString& what) {
    return Box(MessageIcon::Critical, buttons, "Ошибка открытия файла",
               "Невозможно открыть файл " + what);
}
QStringList Boxes(const ScriptedMessages& messages) {
    QStringList boxes;
    for (const ScriptedMessages::Shown& b : messages.shown)
        boxes << Box(b.icon, b.buttons, b.title, b.text);
    return boxes;
}

// Files this process writes stop growing at `bytes`: the disk "fills up" midway.
void LimitFileSize(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = std::min(bytes, limit.rlim_max);
    setrlimit(RLIMIT_FSIZE, &limit);
}

} // namespace

class ParameterFileTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        dir.emplace();
        QVERIFY(QDir(folder()).mkpath("adir"));
        boxes = MemoryParamBoxes();
        for (int i = 0; i < kParamCount; ++i)
            boxes.texts[i] = ShownText(i);
        status = RecordingHost();
        messages = ScriptedMessages();
        refreshes = 0;
    }

    // Read in its encoding (Windows-1251 or a mark's), saved with only our keys changed.
    void othersFilesKeepAllButOurKeys_data() {
        QTest::addColumn<QByteArray>("encoding");
        QTest::addColumn<QByteArray>("mark");
        QTest::newRow("Windows-1251") << QByteArray("windows-1251") << QByteArray();
        QTest::newRow("UTF-8") << QByteArray("UTF-8") << QByteArray("\xEF\xBB\xBF");
        QTest::newRow("UTF-16 LE") << QByteArray("UTF-16LE") << QByteArray("\xFF\xFE");
        QTest::newRow("UTF-16 BE") << QByteArray("UTF-16BE") << QByteArray("\xFE\xFF");
    }
    void othersFilesKeepAllButOurKeys() {
        QFETCH(QByteArray, encoding);
        QFETCH(QByteArray, mark);
        const auto encoded = [&](const QString& text) {
            return mark + QByteArray(QStringEncoder(encoding.constData()).encode(text));
        };
        const QString head = "; Дизель №2\r\n[ДГУ]\r\nМощность = 500 кВт\r\n\r\n[parameters]\r\n";
        const QString keys = "Extra=keep\nPAR600=beyond\r\nPAR505=Ж7\r\n";
        const QString tail = "; trailer\r\n\r\n[Other]\r\nPAR1=elsewhere\r\n";
        WriteFileBytes(path("w.ini"), encoded(head + " par0 = 17 \r\n" + keys + tail));
        ReadParameterFile(ui(), folder(), "w.ini");
        QCOMPARE((QStringList{boxes.texts[0], boxes.texts[505], boxes.texts[1]}),
                 (QStringList{"17", "Ж7", ShownText(1)}));
        boxes.texts[0] = "Ж";
        messages.answer(MessageAnswer::Ok);
        SaveParameterFile(ui(), folder(), "w.ini", [] {});
        QCOMPARE(FileBytes(path("w.ini")),
                 encoded(head + "PAR0=Ж\r\n" + keys + KeyLines(1, 504) + tail));
    }

    // Only a listed name equal to the typed one asks before replacing p.ini; a full disk changes
    // nothing until Retry finds room.
    void saving_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QList<MessageAnswer>>("answers");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<bool>("saved");
        const auto row = [](const char* tag, const char* name, const QByteArray& before,
                            QList<MessageAnswer> answers, const QStringList& boxes, bool saved) {
            QTest::newRow(tag) << QString(name) << before << answers << boxes << saved;
        };
        const QByteArray old = "[Parameters]\r\nPAR0=1\r\n";
        const QString ask =
            Box(MessageIcon::Question, MessageButtons::OkCancel, "Создание текстового файла",
                "Файл p.ini уже существует!\r\nЗаменить его?");
        const QString error = CannotOpen(MessageButtons::RetryCancel, "p.ini для записи");
        const auto Ok = MessageAnswer::Ok, Cancel = MessageAnswer::Cancel;
        row("question, Cancel", "p.ini", old, {Cancel}, {ask}, false);
        row("question, OK", "p.ini", old, {Ok}, {ask}, true);
        row("folder part", "adir/p.ini", old, {}, {}, true);
        row("no name", "", {}, {}, {CannotOpen(MessageButtons::Ok, " для записи")}, false);
        row("disk full, Retry", "p.ini", old, {Ok, MessageAnswer::Retry}, {ask, error}, true);
        const QByteArray oddUtf16 = "\xFF\xFE" + QStringEncoder("UTF-16LE").encode(old) + "X";
        row("UTF-16 with an odd byte kept", "p.ini", oddUtf16, {Ok, Cancel}, {ask, error}, false);
    }
    void saving() {
        QFETCH(QString, name);
        QFETCH(QByteArray, before);
        QFETCH(bool, saved);
        QFETCH(QList<MessageAnswer>, answers);
        for (const char* file : {"p.ini", "adir/p.ini"})
            WriteFileBytes(path(file), before);
        if (answers.contains(MessageAnswer::Retry)) // a full disk, then room
            LimitFileSize(before.size() + 100);
        for (MessageAnswer answer : answers)
            messages.answer(answer, [&, answer] {
                if (answer == MessageAnswer::Retry)
                    LimitFileSize(RLIM_INFINITY);
            });
        SaveParameterFile(ui(), folder(), name, [this] { ++refreshes; });
        LimitFileSize(RLIM_INFINITY);
        QTEST(Boxes(messages), "boxes");
        QCOMPARE(FileBytes(path(name)), saved ? kNewFile : name == "p.ini" ? before : QByteArray());
        QCOMPARE(boxes.states[505], saved ? std::optional(BoxState::FromFile) : std::nullopt);
        QCOMPARE(refreshes, saved ? 1 : 0);
        const QStringList shown{"Сохранение файла " + name, ""};
        QCOMPARE(status.status_history, name.isEmpty() ? shown.first(1) : shown);
    }

    // Compare, then read; an error (no file, NUL bytes without a byte-order mark) changes no box.
    void reading_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("compared");
        QTest::addColumn<QString>("read");
        QTest::addColumn<QString>("error");
        const auto row = [](const char* tag, const QByteArray& line, BoxState compared,
                            QString read, QString error = {}) {
            QTest::newRow(tag) << line << int(compared) << read << error;
        };
        const BoxState none{-1}, missing = BoxState::MissingInFile;
        row("100 vs 1e2", "PAR7=1e2", BoxState::MatchesFile, "1e2");
        row("100 vs 100,5", "PAR7=100,5", BoxState::DiffersFromFile, "100,5");
        row("key missing", "PAR70=5", missing, "100");
        row("default", "PAR7=default", missing, "100");
        row("no file", {}, none, "100", CannotOpen(MessageButtons::Ok, "c.ini для чтения"));
        row("NUL byte", QByteArray("PAR7=0\0", 7), none, "100",
            CannotOpen(MessageButtons::RetryCancel, "c.ini для чтения\r\n"));
    }
    void reading() {
        QFETCH(int, compared);
        QFETCH(QString, error);
        QFETCH(QByteArray, line);
        if (!line.isNull())
            WriteFileBytes(path("c.ini"), "[Parameters]\r\n" + line + "\r\n");
        boxes.texts[7] = "100";
        CompareParameterFile(ui(), folder(), "c.ini");
        QCOMPARE(int(boxes.states[7].value_or(BoxState(-1))), compared);
        ReadParameterFile(ui(), folder(), "c.ini");
        QTEST(boxes.texts[7], "read");
        const bool kept = compared < 0 || compared == int(BoxState::MissingInFile);
        QCOMPARE(int(boxes.states[7].value_or(BoxState(-1))),
                 kept ? compared : int(BoxState::FromFile));
        QCOMPARE(Boxes(messages), (error.isEmpty() ? QStringList() : QStringList{error, error}));
    }

    // A box's text to the value that goes out, and the number it reads, which rounding hides.
    void textToValue_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::addColumn<int>("size");
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("value");
        const auto row = [](const QString& text, double number, int size, double scale, int value) {
            QTest::addRow("%s at %d/%g", qPrintable(text.left(12)), size, scale)
                << text << number << size << scale << value;
        };
        row("12,5 ", 12.5, 2, 0.1, 125);
        row("0,3", 0.3, 2, 0.1, 3);   // 2.9999999999999996 before rounding to 15 digits
        row("0,15", 0.15, 2, 0.1, 2); // 1.9999999999999998 after adding the half
        row("1,25E1", 12.5, 2, 1.0, 13);
        row("25d-1", 2.5, 2, 1.0, 3);
        row("\t- 1\n2", -12, 2, -1.0, -12);
        row("5%0", 5, 2, 1.0, 5);
        row("1,2,3", 1.2, 2, 1.0, 1);
        row("\u0661\u0662", 0, 2, 1.0, 0);
        row("&hff", 255, 2, 1.0, 255);
        row("&o78", 7, 2, 1.0, 7);
        row("-2,5", -2.5, 2, -1.0, -3);
        row("-2,5", -2.5, 2, 1.0, 0);
        row("256", 256, 1, 1.0, 255);
        row("128", 128, 1, -1.0, 127);
        row("-32769", -32769, 2, -1.0, -32768);
        row("5000000000", 5e9, 2, 1.0, 65535);
        row("1e" + QString(50, '9'), qInf(), 2, 0.1, 65535);
        row("-9" + QString(400, '9'), -qInf(), 1, -0.1, -128);
        row("0." + QString(500, '0') + "1", 0, 2, 1.0, 0);
    }
    void textToValue() {
        QFETCH(QString, text);
        QFETCH(int, size);
        QFETCH(double, scale);
        QTEST(ParseNumberText(text), "number");
        const ValueRange range = RangeFor(size, scale);
        QTEST(TextToValue(text, range.min, range.max, range.factor), "value");
    }

    // A backup's name sorts by when it was made: every field of the local time in its place,
    // padded; the object type only once known.
    void backupName() {
        const QDateTime at(QDate(2031, 2, 3), QTime(4, 5, 6));
        QCOMPARE(BackupFileName(at, "ДРА", 12), "2031-02-03_04-05-06_ДРА_адрес12.ini");
        QCOMPARE(BackupFileName(QDateTime(QDate(2029, 12, 31), QTime(23, 59, 58)), "", 7),
                 "2029-12-31_23-59-58_адрес7.ini");
    }

private:
    ParameterFileUi ui() { return {boxes, status, messages}; }
    QString path(const QString& name) const { return folder() + "/" + name; }

    std::optional<QTemporaryDir> dir;
    QString folder() const { return dir->path(); }
    MemoryParamBoxes boxes;
    RecordingHost status;
    ScriptedMessages messages;
    int refreshes = 0;
};

QTEST_GUILESS_MAIN(ParameterFileTest)
#include "test_parameter_file.moc"

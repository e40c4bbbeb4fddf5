#include "file_bytes.h"
#include "files/parameter_file.h"
#include "memory_param_boxes.h"
#include "recording_host.h"
#include "scripted_messages.h"

#include <QDir>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

Q_DECLARE_METATYPE(BoxState)
Q_DECLARE_METATYPE(MessageAnswer)

namespace {

// Texts as the window shows them: a decimal comma and a trailing blank, plain, and empty.
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

// Message boxes as lines, so that a test compares every box shown, in order, at once.
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
        folder = dir->path() + "/f";
        QVERIFY(QDir().mkpath(folder + "/adir"));
        boxes = MemoryParamBoxes();
        for (int i = 0; i < kParamCount; ++i)
            boxes.texts[i] = ShownText(i);
        status = RecordingHost();
        messages = ScriptedMessages();
        refreshes = 0;
    }

    // A file from a Windows machine or another editor reads in its encoding (Windows-1251 or its
    // byte-order mark's); a save changes only our keys and keeps the rest, the encoding and mark.
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
        ReadParameterFile(ui(), folder, "w.ini");
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE((QStringList{boxes.texts[0], boxes.texts[505], boxes.texts[1]}),
                 (QStringList{"17", "Ж7", ShownText(1)}));
        QCOMPARE((QList{boxes.states[0], boxes.states[1]}),
                 (QList<std::optional<BoxState>>{BoxState::FromFile, BoxState::MissingInFile}));
        boxes.texts[0] = "Ж";
        messages.answer(MessageAnswer::Ok);
        save("w.ini");
        QCOMPARE(FileBytes(path("w.ini")),
                 encoded(head + "PAR0=Ж\r\n" + keys + KeyLines(1, 504) + tail));
    }

    // Only a listed name equal to the typed one asks before replacing p.ini. A full disk or a
    // directory in its place change nothing until Retry finds the cause gone; the file keeps the
    // trailing blank of «12,5 ».
    void saving_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QList<MessageAnswer>>("answers");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<bool>("saved");
        const auto row = [](const char* tag, const char* name, const QByteArray& before,
                            const char* obstacle, QList<MessageAnswer> answers,
                            const QStringList& boxes, bool saved) {
            QTest::newRow(tag) << QString(name) << before << QString(obstacle) << answers << boxes
                               << saved;
        };
        const QByteArray old = "[Parameters]\r\nPAR0=1\r\n";
        const QString ask =
            Box(MessageIcon::Question, MessageButtons::OkCancel, "Создание текстового файла",
                "Файл p.ini уже существует!\r\nЗаменить его?");
        const QString error = CannotOpen(MessageButtons::RetryCancel, "p.ini для записи");
        const auto Ok = MessageAnswer::Ok, Cancel = MessageAnswer::Cancel,
                   Retry = MessageAnswer::Retry;
        row("new file", "p.ini", {}, "", {}, {}, true);
        row("question, Cancel", "p.ini", old, "", {Cancel}, {ask}, false);
        row("question, OK", "p.ini", old, "", {Ok}, {ask}, true);
        row("other letter case", "P.ini", old, "", {}, {}, true);
        row("folder part", "adir/p.ini", old, "", {}, {}, true);
        row("no name", "", {}, "", {}, {CannotOpen(MessageButtons::Ok, " для записи")}, false);
        row("disk full, Retry", "p.ini", old, "disk full", {Ok, Retry}, {ask, error}, true);
        row("directory in its place", "p.ini", {}, "directory", {Retry, Cancel}, {error, error},
            false);
    }
    void saving() {
        QFETCH(QString, name);
        QFETCH(QByteArray, before);
        QFETCH(QString, obstacle);
        QFETCH(bool, saved);
        if (!before.isEmpty())
            WriteFileBytes(path("p.ini"), before);
        if (name == "adir/p.ini")
            WriteFileBytes(path(name), before);
        if (obstacle == "disk full")
            LimitFileSize(before.size() + 100);
        if (obstacle == "directory")
            QVERIFY(QDir().mkpath(path(name)));
        QFETCH(QList<MessageAnswer>, answers);
        for (MessageAnswer answer : answers) // before Retry the user frees the disk
            messages.answer(answer, [&, answer] {
                if (answer == MessageAnswer::Retry)
                    LimitFileSize(RLIM_INFINITY);
            });
        save(name);
        LimitFileSize(RLIM_INFINITY);
        QTEST(Boxes(messages), "boxes");
        QVERIFY(QDir(folder).entryList({"*.ini.*"}, QDir::Files | QDir::Hidden).isEmpty());
        QCOMPARE(FileBytes(path(name)), saved ? kNewFile : name == "p.ini" ? before : QByteArray());
        if (name != "p.ini")
            QCOMPARE(FileBytes(path("p.ini")), before);
        QCOMPARE(boxes.states[505], saved ? std::optional(BoxState::FromFile) : std::nullopt);
        QCOMPARE(refreshes, saved ? 1 : 0);
        QCOMPARE(status.repaints, 1);
        QCOMPARE(status.statusHistory,
                 (name.isEmpty() ? QStringList{"Сохранение файла "}
                                 : QStringList{"Сохранение файла " + name, ""}));
    }

    // Compare, then read: a key the file lacks, or holding "default", leaves the box as it was
    // and light yellow; any other value is read in as it stands and the box turns light blue.
    // Nothing to read, or not text (NUL bytes without a byte-order mark), shows an error box
    // each time and changes no box.
    void reading_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("compared");
        QTest::addColumn<QString>("read");
        QTest::addColumn<QString>("error");
        const auto row = [](const char* tag, const char* name, const QByteArray& line,
                            const char* box, BoxState compared, QString read, QString error = {}) {
            QTest::newRow(tag) << QString(name) << line << QString(box) << int(compared) << read
                               << error;
        };
        const auto match = BoxState::MatchesFile, differ = BoxState::DiffersFromFile,
                   missing = BoxState::MissingInFile;
        const BoxState none{-1};
        row("100 vs 1e2", "c.ini", "PAR7=1e2", "100", match, "1e2");
        row("100 vs 100,5", "c.ini", "PAR7=100,5", "100", differ, "100,5");
        row("key missing", "c.ini", "PAR70=5", "5", missing, "5");
        row("default", "c.ini", "PAR7=default", "5", missing, "5");
        row("unread vs 0", "c.ini", "PAR7=0", "-", match, "0");
        row("cut to 254", "c.ini", "PAR7=" + QByteArray(300, '1'), "1", differ, QString(254, '1'));
        row("no name", "", "PAR7=0", "5", none, "5", CannotOpen(MessageButtons::Ok, " для чтения"));
        row("no file", "d.ini", "PAR7=0", "5", none, "5",
            CannotOpen(MessageButtons::Ok, "d.ini для чтения"));
        row("NUL byte", "c.ini", QByteArray("PAR7=0\0", 7), "5", none, "5",
            CannotOpen(MessageButtons::RetryCancel, "c.ini для чтения\r\n"));
    }
    void reading() {
        QFETCH(QString, name);
        QFETCH(QString, box);
        QFETCH(int, compared);
        QFETCH(QString, error);
        QFETCH(QByteArray, line);
        WriteFileBytes(path("c.ini"), "[Parameters]\r\n" + line + "\r\n");
        boxes.texts[7] = box;
        CompareParameterFile(ui(), folder, name);
        QCOMPARE(int(boxes.states[7].value_or(BoxState(-1))), compared);
        QCOMPARE(boxes.texts[7], box);
        ReadParameterFile(ui(), folder, name);
        QTEST(boxes.texts[7], "read");
        const auto missing = int(BoxState::MissingInFile),
                   after = compared < 0 || compared == missing ? compared : int(BoxState::FromFile);
        QCOMPARE(int(boxes.states[7].value_or(BoxState(-1))), after);
        QCOMPARE(Boxes(messages), (error.isEmpty() ? QStringList() : QStringList{error, error}));
        if (error.isEmpty())
            QCOMPARE(status.statusHistory,
                     (QStringList{"Чтение файла c.ini", "", "Чтение файла " + path("c.ini"), ""}));
    }

private:
    ParameterFileUi ui() { return {boxes, status, messages}; }
    QString path(const QString& name) const { return folder + "/" + name; }
    void save(const QString& name) {
        SaveParameterFile(ui(), folder, name, [this] { ++refreshes; });
    }

    std::optional<QTemporaryDir> dir;
    QString folder;
    MemoryParamBoxes boxes;
    RecordingHost status;
    ScriptedMessages messages;
    int refreshes = 0;
};

QTEST_GUILESS_MAIN(ParameterFileTest)
#include "test_parameter_file.moc"

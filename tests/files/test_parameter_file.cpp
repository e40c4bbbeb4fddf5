#include "file_bytes.h"
#include "files/parameter_file.h"
#include "memory_param_boxes.h"
#include "recording_host.h"
#include "scripted_messages.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

Q_DECLARE_METATYPE(BoxState)
Q_DECLARE_METATYPE(MessageAnswer)

namespace {

// Texts as the window shows them: numbers with a decimal comma and a trailing blank, a few
// plain ones, and an empty box.
QString ShownText(int i) {
    if (i == 9)
        return QString();
    return i % 3 == 0 ? QString::number(i) + ",5 " : QString::number(i * 7);
}

QByteArray KeyLines(int from, int to, const std::function<QString(int)>& text) {
    QByteArray lines;
    for (int i = from; i <= to; ++i)
        lines += "PAR" + QByteArray::number(i) + "=" + text(i).toLatin1() + "\r\n";
    return lines;
}

QByteArray NewFile() {
    return "[Parameters]\r\n" + KeyLines(0, 505, ShownText);
}

const QString kSaving = QStringLiteral("Сохранение файла ");
const QString kReading = QStringLiteral("Чтение файла ");
const QString kOpenError = QStringLiteral("Ошибка открытия файла");

// A message box as one line, so that a test compares every box shown, in order, at once.
QString Box(MessageIcon icon, MessageButtons buttons, const QString& title, const QString& text) {
    return QString("%1/%2 %3: %4").arg(int(icon)).arg(int(buttons)).arg(title, text);
}
QStringList Boxes(const ScriptedMessages& messages) {
    QStringList boxes;
    for (const ScriptedMessages::Shown& b : messages.shown)
        boxes << Box(b.icon, b.buttons, b.title, b.text);
    return boxes;
}
const QString kQuestion =
    Box(MessageIcon::Question, MessageButtons::OkCancel, "Создание текстового файла",
        "Файл p.ini уже существует!\r\nЗаменить его?");
const QString kWriteError = Box(MessageIcon::Critical, MessageButtons::RetryCancel, kOpenError,
                                "Невозможно открыть файл p.ini для записи");

// A limit on the size of files this process writes: the disk "fills up" in the middle of
// writing anything larger.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limited = saved;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { lift(); }
    void lift() { setrlimit(RLIMIT_FSIZE, &saved); }
    rlimit saved{};
};

} // namespace

class ParameterFileTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        dir.emplace();
        folder = dir->path() + "/f";
        QVERIFY(QDir().mkpath(folder));
        boxes = MemoryParamBoxes();
        for (int i = 0; i < kParamCount; ++i)
            boxes.texts[i] = ShownText(i);
        status = RecordingHost();
        messages = ScriptedMessages();
        refreshes = 0;
    }

    // The file keeps the trailing blank of «12,5 »; reading trims blanks around values, as the
    // profile functions do, so the box gets «12,5» back, the same number.
    void newFileRoundTrip() {
        save("p.ini");
        QCOMPARE(status.statusHistory, (QStringList{kSaving + "p.ini", ""}));
        QCOMPARE(status.repaints, 1);
        expectSaved(path("p.ini"), true, {});
        boxes = MemoryParamBoxes();
        ReadParameterFile(ui(), folder, "p.ini");
        for (int i = 0; i < kParamCount; ++i) {
            QCOMPARE(boxes.texts[i], ShownText(i).trimmed());
            QCOMPARE(boxes.states[i], BoxState::FromFile);
        }
        QVERIFY(messages.shown.isEmpty());
    }

    void emptyNameIsRefusedBeforeWriting() {
        save("");
        messages.expectOnly(MessageIcon::Critical, MessageButtons::Ok, kOpenError,
                            "Невозможно открыть файл  для записи");
        QCOMPARE(status.status, kSaving);
        QVERIFY(QDir(folder).isEmpty());
        QCOMPARE(boxes.states[0], std::nullopt);
    }

    // A file from a Windows machine: CRLF and LF lines, a comment, a foreign section in
    // Windows-1251, blanks around names and values, extra keys in "Parameters".
    void windowsFileSurvivesOutsideOurKeys() {
        const QByteArray head = "; \xcd\xe0\xf1\xf2\xf0\xee\xe9\xea\xe8\r\n[\xc4\xc3\xd3]\r\n"
                                "\xcc\xee\xf9\xed\xee\xf1\xf2\xfc = 500 \xea\xc2\xf2\r\n\r\n"
                                "[parameters]\r\n par0 = 17 \r\nExtra=keep\nPAR600=beyond\r\n";
        const QByteArray tail = "; trailer\r\n\r\n[Other]\r\nPAR1=elsewhere\r\n";
        WriteFileBytes(path("w.ini"), head + tail);

        ReadParameterFile(ui(), folder, "w.ini");
        QCOMPARE(boxes.texts[0], QString("17"));
        QCOMPARE(boxes.states[0], BoxState::FromFile);
        QCOMPARE(boxes.texts[1], ShownText(1));
        QCOMPARE(boxes.states[1], BoxState::MissingInFile);

        boxes.texts[0] = "18";
        messages.answer(MessageAnswer::Ok);
        save("w.ini");
        const QByteArray expected = head.left(head.indexOf(" par0")) + "PAR0=18\r\n" +
                                    "Extra=keep\n" + "PAR600=beyond\r\n" +
                                    KeyLines(1, 505, ShownText) + tail;
        QCOMPARE(FileBytes(path("w.ini")), expected);
    }

    // An existing file is replaced only after OK at the question. A disk that fills up midway,
    // a file too large to rewrite whole, a directory in its place or a removed folder leave the
    // folder as it was, without a temporary file, until Retry finds the cause gone.
    void saving_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QList<MessageAnswer>>("answers");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<bool>("saved");
        const auto row = [](const char* name, const QByteArray& before, const char* obstacle,
                            QList<MessageAnswer> answers, const QStringList& boxes, bool saved) {
            QTest::newRow(name) << before << QString(obstacle) << answers << boxes << saved;
        };
        const QByteArray old = "[Parameters]\r\n" + KeyLines(0, 505, [](int) { return "1"; });
        const QByteArray huge = NewFile() + QByteArray(2 * 1024 * 1024, 'z');
        const QStringList question{kQuestion}, full{kQuestion, kWriteError},
            twice{kWriteError, kWriteError};
        const auto Ok = MessageAnswer::Ok, Cancel = MessageAnswer::Cancel,
                   Retry = MessageAnswer::Retry;
        row("question, Cancel", old, "", {Cancel}, question, false);
        row("question, OK", old, "", {Ok}, question, true);
        row("disk full, Cancel", old, "disk full", {Ok, Cancel}, full, false);
        row("disk full, Retry with room", old, "disk full", {Ok, Retry}, full, true);
        row("huge file", huge, "", {Ok, Cancel}, full, false);
        row("directory in its place, Cancel", {}, "directory", {Retry, Cancel}, twice, false);
        row("directory in its place, Retry", {}, "directory", {Retry, Retry}, twice, true);
        row("folder removed, Retry", {}, "folder removed", {Retry, Retry}, twice, true);
    }
    void saving() {
        QFETCH(QByteArray, before);
        QFETCH(QString, obstacle);
        QFETCH(QList<MessageAnswer>, answers);
        QFETCH(bool, saved);
        if (!before.isEmpty())
            WriteFileBytes(path("p.ini"), before);
        std::optional<FileSizeLimit> limit;
        if (obstacle == "disk full")
            limit.emplace(before.size() + 100);
        if (obstacle == "directory")
            QVERIFY(QDir().mkpath(path("p.ini")));
        if (obstacle == "folder removed")
            QVERIFY(QDir(folder).removeRecursively());
        // A last Retry comes once the user has removed the obstacle.
        for (int i = 0; i < answers.size(); ++i) {
            const bool cures = i == answers.size() - 1 && answers[i] == MessageAnswer::Retry;
            messages.answer(answers[i], [&, cures] {
                if (!cures)
                    return;
                limit.reset();
                QVERIFY(QDir(path("p.ini")).removeRecursively() && QDir().mkpath(folder));
            });
        }
        save("p.ini");
        limit.reset();
        QTEST(Boxes(messages), "boxes");
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"p.ini"});
        expectSaved(path("p.ini"), saved, before);
    }

    // Only a listed name equal to the typed one, letter case included, brings the question. On
    // a volume that ignores case the save then updates the existing file; here, on a volume
    // that respects it, the other name is another file and the first one stays as it was.
    void nameInOtherCaseAsksNothing() {
        WriteFileBytes(path("p.ini"), "x");
        save("P.ini");
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(FileBytes(path("P.ini")), NewFile());
        QCOMPARE(FileBytes(path("p.ini")), QByteArray("x"));
    }

    // A key the file lacks leaves the box as it was and light yellow after a read too; any
    // other value is read in as it stands and the box turns light blue.
    void valuesCompared_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<BoxState>("compared");
        QTest::addColumn<QString>("read");
        const auto row = [](const char* name, const char* box, const QByteArray& line,
                            BoxState compared, const QString& read) {
            QTest::newRow(name) << QString(box) << line << compared << read;
        };
        const BoxState match = BoxState::MatchesFile, differ = BoxState::DiffersFromFile,
                       missing = BoxState::MissingInFile;
        row("100 vs 1e2", "100", "PAR7=1e2", match, "1e2");
        row("100 vs 100,5", "100", "PAR7=100,5", differ, "100,5");
        row("as shown vs point", "12,5 ", "PAR7=12.50", match, "12.50");
        row("key missing", "5", "PAR70=5", missing, "5");
        row("value default", "5", "PAR7=default", missing, "5");
        row("empty value vs 0", "0", "PAR7=", match, "");
        row("empty value vs 3", "3", "PAR7=", differ, "");
        row("unread box vs 0", "-", "PAR7=0", match, "0");
        row("too large for a double", "1", "PAR7=1e999", differ, "1e999");
        row("long value cut to 254", "1", "PAR7=" + QByteArray(300, '1'), differ,
            QString(254, '1'));
    }
    void valuesCompared() {
        QFETCH(QString, box);
        QFETCH(QByteArray, line);
        WriteFileBytes(path("c.ini"), "[Parameters]\r\n" + line + "\r\n");
        boxes.texts[7] = box;
        CompareParameterFile(ui(), folder, "c.ini");
        QTEST(*boxes.states[7], "compared");
        QCOMPARE(boxes.texts[7], box);
        QCOMPARE(status.statusHistory, (QStringList{kReading + "c.ini", ""}));
        ReadParameterFile(ui(), folder, "c.ini");
        QTEST(boxes.texts[7], "read");
        QFETCH(BoxState, compared);
        QCOMPARE(*boxes.states[7],
                 compared == BoxState::MissingInFile ? compared : BoxState::FromFile);
        QCOMPARE(status.statusHistory.mid(2), (QStringList{kReading + path("c.ini"), ""}));
        QVERIFY(messages.shown.isEmpty());
    }

    // Not a parameter file at all, whether text or 3 MB of noise: every box turns light yellow,
    // no text changes, no message.
    void notAParameterFile_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("other sections") << QByteArray("[Other]\r\nPAR0=1\r\n");
        QByteArray noise(3 * 1024 * 1024, Qt::Uninitialized);
        QRandomGenerator generator(604);
        for (char& byte : noise)
            byte = char(generator.bounded(256));
        QTest::newRow("binary") << noise;
    }
    void notAParameterFile() {
        QFETCH(QByteArray, content);
        WriteFileBytes(path("x.bin"), content);
        for (const auto operation : {ReadParameterFile, CompareParameterFile}) {
            operation(ui(), folder, "x.bin");
            for (int i = 0; i < kParamCount; ++i) {
                QCOMPARE(boxes.texts[i], ShownText(i));
                QCOMPARE(boxes.states[i], BoxState::MissingInFile);
            }
        }
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(FileBytes(path("x.bin")), content);
    }

    void nothingToRead_data() {
        QTest::addColumn<bool>("compare");
        QTest::addColumn<QString>("name");
        QTest::newRow("read, empty name") << false << "";
        QTest::newRow("read, no such file") << false << "none.ini";
        QTest::newRow("read, a folder") << false << "sub";
        QTest::newRow("compare, empty name") << true << "";
        QTest::newRow("compare, no such file") << true << "none.ini";
    }
    void nothingToRead() {
        QFETCH(bool, compare);
        QFETCH(QString, name);
        QVERIFY(QDir(folder).mkpath("sub"));
        (compare ? CompareParameterFile : ReadParameterFile)(ui(), folder, name);
        messages.expectOnly(MessageIcon::Critical, MessageButtons::Ok, kOpenError,
                            "Невозможно открыть файл " + name + " для чтения");
        QCOMPARE(status.statusHistory, QStringList{""});
        QCOMPARE(boxes.states[0], std::nullopt);
    }

private:
    // The save either completed (file rewritten, boxes light blue, window refreshed once) or
    // left the file as it was and the boxes untouched; either way the status line is cleared.
    void expectSaved(const QString& file, bool saved, const QByteArray& before) {
        QCOMPARE(FileBytes(file), saved ? NewFile() : before);
        QCOMPARE(boxes.states[0], saved ? std::optional(BoxState::FromFile) : std::nullopt);
        QCOMPARE(boxes.states[505], boxes.states[0]);
        QCOMPARE(refreshes, saved ? 1 : 0);
        QCOMPARE(status.status, QString());
    }
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

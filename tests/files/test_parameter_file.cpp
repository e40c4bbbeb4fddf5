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
        folder = dir->path();
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
        QCOMPARE(FileBytes(path("p.ini")), NewFile());
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
        expectBoxes(1, MessageIcon::Critical, MessageButtons::Ok, kOpenError,
                    "Невозможно открыть файл  для записи");
        QCOMPARE(status.status, kSaving);
        QVERIFY(QDir(folder).isEmpty());
        QCOMPARE(boxes.states[0], std::nullopt);
    }

    // A file from a Windows machine: CRLF and LF lines, a comment, a foreign section in
    // Windows-1251, blanks around names and values, extra keys in "Parameters".
    void windowsFileSurvivesOutsideOurKeys() {
        const QByteArray head = "; \xcd\xe0\xf1\xf2\xf0\xee\xe9\xea\xe8\r\n"
                                "[\xc4\xc3\xd3]\r\n"
                                "\xcc\xee\xf9\xed\xee\xf1\xf2\xfc = 500 \xea\xc2\xf2\r\n"
                                "\r\n"
                                "[parameters]\r\n"
                                " par0 = 17 \r\n"
                                "Extra=keep\n"
                                "PAR600=beyond\r\n";
        const QByteArray tail = "; trailer\r\n"
                                "\r\n"
                                "[Other]\r\n"
                                "PAR1=elsewhere\r\n";
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

    void overwriteQuestion_data() { answers(MessageAnswer::Ok); }
    void overwriteQuestion() {
        QFETCH(MessageAnswer, answer);
        const QByteArray old = "[Parameters]\r\nPAR0=old\r\n";
        WriteFileBytes(path("p.ini"), old);
        messages.answer(answer);
        save("p.ini");
        expectBoxes(1, MessageIcon::Question, MessageButtons::OkCancel, "Создание текстового файла",
                    "Файл p.ini уже существует!\r\nЗаменить его?");
        expectSaved(path("p.ini"), answer == MessageAnswer::Ok, old);
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

    // Retry once the cause is gone completes the save; Cancel leaves the folder as it was.
    void failedSave_data() {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<bool>("retry");
        QTest::newRow("directory in its place, cancel") << "directory" << false;
        QTest::newRow("directory in its place, retry") << "directory" << true;
        QTest::newRow("folder removed, retry") << "removed" << true;
    }
    void failedSave() {
        QFETCH(QString, cause);
        QFETCH(bool, retry);
        const QString sub = folder + "/sub";
        QVERIFY(QDir().mkpath(cause == "directory" ? sub + "/p.ini" : sub));
        if (cause == "removed")
            QVERIFY(QDir(sub).removeRecursively());
        messages.answer(MessageAnswer::Retry);
        if (retry)
            messages.answer(MessageAnswer::Retry, [&] {
                QVERIFY(QDir(sub).removeRecursively());
                QVERIFY(QDir().mkpath(sub));
            });
        SaveParameterFile(ui(), sub, "p.ini", [this] { ++refreshes; });
        expectBoxes(2, MessageIcon::Critical, MessageButtons::RetryCancel, kOpenError,
                    "Невозможно открыть файл p.ini для записи");
        expectSaved(sub + "/p.ini", retry, {});
        QCOMPARE(QFileInfo(sub + "/p.ini").isDir(), !retry);
    }

    // The disk fills up in the middle of the write: the previous file stays whole and no
    // temporary file is left behind; once there is room again, Retry completes the save.
    void diskFullMidway_data() { answers(MessageAnswer::Retry); }
    void diskFullMidway() {
        QFETCH(MessageAnswer, answer);
        const QByteArray old = "[Parameters]\r\n" + KeyLines(0, 505, [](int) { return "1"; });
        WriteFileBytes(path("p.ini"), old);
        FileSizeLimit limit(old.size() + 100);
        messages.answer(MessageAnswer::Ok);
        messages.answer(answer, [&] { limit.lift(); });
        save("p.ini");
        limit.lift();
        QCOMPARE(messages.shown.size(), 2);
        QCOMPARE(messages.shown[1].buttons, MessageButtons::RetryCancel);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"p.ini"});
        expectSaved(path("p.ini"), answer == MessageAnswer::Retry, old);
    }

    void hugeFileIsNotCut() {
        QByteArray huge = NewFile() + QByteArray(2 * 1024 * 1024, 'z');
        WriteFileBytes(path("p.ini"), huge);
        messages.answer(MessageAnswer::Ok);
        messages.answer(MessageAnswer::Cancel);
        save("p.ini");
        QCOMPARE(messages.shown.size(), 2);
        QCOMPARE(messages.shown[1].text, QString("Невозможно открыть файл p.ini для записи"));
        expectSaved(path("p.ini"), false, huge);
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
        expectBoxes(1, MessageIcon::Critical, MessageButtons::Ok, kOpenError,
                    "Невозможно открыть файл " + name + " для чтения");
        QCOMPARE(status.statusHistory, QStringList{""});
        QCOMPARE(boxes.states[0], std::nullopt);
    }

private:
    static void answers(MessageAnswer goOn) {
        QTest::addColumn<MessageAnswer>("answer");
        QTest::newRow("Cancel") << MessageAnswer::Cancel;
        QTest::newRow("go on") << goOn;
    }
    void expectBoxes(int count, MessageIcon icon, MessageButtons buttons, const QString& title,
                     const QString& text) {
        QCOMPARE(messages.shown.size(), count);
        for (const ScriptedMessages::Shown& box : messages.shown) {
            QCOMPARE(box.icon, icon);
            QCOMPARE(box.buttons, buttons);
            QCOMPARE(box.title, title);
            QCOMPARE(box.text, text);
        }
    }
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

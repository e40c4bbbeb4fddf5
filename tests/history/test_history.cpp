#include "disk/csv_log_file.h"
#include "file_bytes.h"
#include "frames.h"
#include "history/journal_file_reader.h"
#include "history/journal_kinds.h"
#include "history/journal_rows.h"
#include "history/recording_file.h"
#include "history/recording_line.h"
#include "history/session_recorder.h"
#include "live/controller_scan.h"

#include <QDateTime>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

namespace {
const std::int64_t kMorning =
    QDateTime(QDate(2026, 12, 7), QTime(10, 20, 30, 45)).toMSecsSinceEpoch();

// A recorder on a clock the test moves, fed decoded poll answers.
struct Session {
    explicit Session(QChar separator = QLatin1Char(','))
        : decoder(separator), recorder(separator, [this] { return now; }) {}
    void answer(const Registers& registers) {
        recorder.takePoll(decoder.decode(RxOf(PollFrame(registers))));
    }
    std::int64_t now = kMorning;
    PollDecoder decoder;
    SessionRecorder recorder;
};

QStringList FileLines(const QString& path) {
    const QByteArray bytes = FileBytes(path);
    if (!bytes.startsWith("\xEF\xBB\xBF"))
        return {QStringLiteral("no byte-order mark")};
    QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    lines.removeLast(); // after the last line end
    return lines;
}
} // namespace

class HistoryTest : public QObject {
    Q_OBJECT
private slots:
    void recordingLine_data() {
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<int>("objectType");
        QTest::addColumn<QString>("line");
        const QString dgu = QStringLiteral("2026-12-07 10:20:30.045;100000;;85,3;-2,5;90;3,45;"
                                           "0,5;1,2;0,07;24,6");
        QTest::newRow("ДГУ, comma") << QChar(',') << 0 << dgu;
        QTest::newRow("ДРА, point")
            << QChar('.') << 1
            << QStringLiteral("2026-12-07 10:20:30.045;100000;65535;85.3;-2.5;90;3.45;0.5;1.2;"
                              "0.07;24.6");
    }
    // Each poll answer is one line of the values as the main window shows them; the shaft's
    // column is empty for a ДГУ. A new file starts with the mark and the header.
    void recordingLine() {
        QFETCH(QChar, separator);
        QFETCH(int, objectType);
        QFETCH(QString, line);
        QTemporaryDir dir;
        const QString path = dir.filePath("запись.csv");
        Session s(separator);
        QVERIFY(s.recorder.startRecording(path));
        s.answer({{2, std::uint16_t(objectType)},
                  {3, 1},
                  {4, 0x86A0},
                  {5, 0},
                  {6, 0xFFFF},
                  {7, 853},
                  {8, 0xFFE7},
                  {13, 900},
                  {9, 345},
                  {14, 50},
                  {10, 120},
                  {11, 7},
                  {15, 246}});
        s.recorder.flush();
        QCOMPARE(FileLines(path),
                 QStringList(
                     {QStringLiteral("Время;Двигатель, об/мин;Гребной вал, об/мин;ОЖ, °C;Масло, °C;"
                                     "Масло ред., °C;Масло, кг/см2;Масло ред., кг/см2;ВТК, кг/см2;"
                                     "НТК, кг/см2;Аккумулятор, В"),
                      line}));
        // Recording again appends below, without a second header.
        s.recorder.stopRecording();
        QVERIFY(s.recorder.startRecording(path));
        s.answer({});
        s.recorder.flush();
        QCOMPARE(FileLines(path).size(), 3);
    }

    // A recording read back: its rows as written, with either decimal separator, an empty field
    // as no value; the rows it cannot read named in one message, the rest shown; a file of
    // another kind, or none, refused whole.
    void recordingReadBack() {
        QTemporaryDir dir;
        const QString path = dir.filePath("запись.csv");
        const QString row =
            QStringLiteral("2026-12-07 10:20:31.250;1500;1400;85.3;-2.5;90;3.45;0.5;1.2;0.07;24.6");
        WriteFileBytes(path, CsvFileStart(RecordingHeader()) +
                                 (RecordingLine(kMorning, {100000, 0, 853, -25}, false, u',') +
                                  "\r\n" + row + "\nчто-то\r\n" + row.left(30) + "\r\n\r\n" +
                                  QString(row).replace(5, 2, "13") + "\r\n" +
                                  QString(row).replace("1500", "15x0") + "\r\n" +
                                  QString(2000, u'9') + "\r\n" + QString(row).replace(":31", ":32"))
                                     .toUtf8());
        const RecordingFile read(path);
        QCOMPARE(read.refusal(), QString());
        QCOMPARE(read.omissions(),
                 QStringLiteral("Не удалось прочитать 5 строк файла (номера строк: 4, 5, 7, 8, 9); "
                                "остальные строки показаны."));
        const EngineHistory& h = read.history();
        QCOMPARE(h.size(), 3);
        QCOMPARE(h.at(0).wall_ms, kMorning);
        QCOMPARE(QList<float>(h.at(0).raw.begin() + 2, h.at(0).raw.begin() + 5),
                 QList<float>({853, -25, 0}));
        QVERIFY(h.at(0).raw[0] == 100000 && std::isnan(h.at(0).raw[1]));
        const std::int64_t second =
            QDateTime(QDate(2026, 12, 7), QTime(10, 20, 31, 250)).toMSecsSinceEpoch();
        QCOMPARE(h.at(1).wall_ms, second);
        QCOMPARE(QList<float>(h.at(1).raw.begin(), h.at(1).raw.end()),
                 QList<float>({1500, 1400, 853, -25, 900, 345, 50, 120, 7, 246}));
        QCOMPARE(h.at(2).wall_ms, second + 1000);

        QByteArray many = CsvFileStart(RecordingHeader());
        for (int i = 0; i < 12; ++i)
            many += "x\r\n";
        WriteFileBytes(path, many);
        QCOMPARE(RecordingFile(path).omissions(),
                 QStringLiteral("Не удалось прочитать 12 строк файла (номера строк: 2, 3, 4, 5, 6 "
                                "и другие); остальные строки показаны."));

        WriteFileBytes(path, CsvFileStart(QStringLiteral("Время;Событие")) + row.toUtf8());
        const RecordingFile journal(path);
        QCOMPARE(journal.refusal(),
                 path +
                     QStringLiteral(": это не запись значений этой программы (первая строка "
                                    "файла не «") +
                     RecordingHeader() + "»)");
        QCOMPARE(journal.history().size(), 0);
        QCOMPARE(RecordingFile(dir.filePath("нет.csv")).refusal(),
                 dir.filePath("нет.csv") + QStringLiteral(": файл не найден"));
    }

    // A full disk stops the recording with one report; the samples go on.
    void recordingThatCannotBeWritten() {
        Session s;
        QSignalSpy failed(&s.recorder, &SessionRecorder::recordingFailed);
        QVERIFY(s.recorder.startRecording(QStringLiteral("/dev/full")));
        for (int i = 0; i < 3; ++i) {
            s.answer({{3, 0}, {4, std::uint16_t(i)}});
            s.recorder.flush();
        }
        QCOMPARE(failed.size(), 1);
        QCOMPARE(failed[0][0].toString(), QStringLiteral("/dev/full: диск заполнен"));
        QVERIFY(!s.recorder.recording());
        QCOMPARE(s.recorder.history().size(), 3);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("busy"));
        QVERIFY(!s.recorder.startRecording(dir.filePath("busy")));
        QCOMPARE(s.recorder.recordingError(), QStringLiteral("это папка, а не файл"));
    }

    // A scripted session: the port opened, the state as found, then only changes; a silence of
    // one second loses the link, and after it only what differs from the last state seen is news
    // (the fault word of «Авария» «Текущая» stands).
    void journal() {
        QTemporaryDir dir;
        Session s;
        s.recorder.journal().useFile(dir.filePath("журнал.csv"));
        s.recorder.checkPort({});
        s.recorder.checkPort("COM3");
        s.recorder.checkPort("COM3");
        s.answer({{2, 0}, {70, 0x0004}, {75, 0x0020}});
        s.now += 200;
        s.answer({{0, 0x8000}, {2, 0}, {70, 0x0004}, {92, 0x0010}});
        s.now += 200;
        s.answer({{0, 0x8000}, {2, 1}, {70, 0x0004}, {92, 0x0010}, {90, 0x8000}});
        s.now += 999;
        s.recorder.checkLink();
        s.now += 1;
        s.recorder.checkPort({});
        s.recorder.checkLink();
        s.now += 500;
        s.recorder.checkPort("COM3");
        s.answer({{2, 1}, {70, 0x0005}, {92, 0x0010}});
        s.recorder.note(JournalKind::Command, QStringLiteral("Команда СТАРТ"));
        s.recorder.flush();
        const auto at = [](int ms, const char* text) {
            return QDateTime::fromMSecsSinceEpoch(kMorning + ms)
                       .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz;")) +
                   QString::fromUtf8(text);
        };
        QCOMPARE(FileLines(dir.filePath("журнал.csv")),
                 QStringList({QStringLiteral("Время;Событие"),
                              at(0, "Порт не открыт"),
                              at(0, "Порт COM3 открыт"),
                              at(0, "Связь установлена"),
                              at(0, "Тип объекта: ДГУ"),
                              at(0, "«Работа»: вкл"),
                              at(0, "Сигнал 5: вкл"),
                              at(200, "Управление по Modbus заблокировано"),
                              at(200, "Сигнал 5: выкл"),
                              at(200, "«Авария» «Текущая»: 0000 → 0010"),
                              at(400, "Тип объекта: ДРА"),
                              at(400, "Сигнал 255: вкл"),
                              at(1400, "Порт COM3 закрыт"),
                              at(1400, "Связь потеряна"),
                              at(1900, "Порт COM3 открыт"),
                              at(1900, "Связь установлена"),
                              at(1900, "Управление по Modbus разблокировано"),
                              at(1900, "«Авария»: вкл"),
                              at(1900, "Сигнал 255: выкл"),
                              at(1900, "Команда СТАРТ")}));
        QCOMPARE(s.recorder.journal().entries().size(), 19u);
    }

    // A journal file read back: every kind told from its text, so the filter shows what it showed
    // live; a line without a time is counted and named.
    void journalReadBack() {
        QTemporaryDir dir;
        const QString path = dir.filePath("журнал.csv");
        Session s;
        s.recorder.journal().useFile(path);
        s.recorder.checkPort("COM3");
        s.answer({{2, 0}, {70, 0x0004}, {75, 0x0020}});
        s.answer({{0, 0x8000}, {2, 1}, {70, 0x0004}, {92, 0x0010}, {90, 0x8000}});
        s.recorder.note(JournalKind::Link, ScanBeginText());
        s.recorder.note(JournalKind::Link, journal_text::kFastExchangeOn);
        s.recorder.note(JournalKind::Command, QStringLiteral("Команда СТАРТ"));
        s.recorder.note(JournalKind::Parameter, QStringLiteral("Сохранение в файл C:\\а;б.ini"));
        s.recorder.flush();
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write("без времени\r\n2026-12-07 10:20:30.045;\r\n");
        file.close();
        EventJournal opened;
        const CsvReadOutcome read = ReadJournalFile(path, opened);
        const auto& live = s.recorder.journal().entries();
        QCOMPARE(read.unreadText(), QStringLiteral("Не удалось прочитать 1 строку файла (номера "
                                                   "строк: %1); остальные строки показаны.")
                                        .arg(live.size() + 2));
        QCOMPARE(opened.entries().size(), live.size() + 1);
        for (std::size_t i = 0; i < live.size(); ++i)
            QCOMPARE(JournalLine(opened.entries()[i]) +
                         QString::number(int(opened.entries()[i].kind)),
                     JournalLine(live[i]) + QString::number(int(live[i].kind)));
    }

    // Without a named file, each day's entries go to that day's file in the folder.
    void journalFileADay() {
        QTemporaryDir dir;
        Session s;
        s.now = QDateTime(QDate(2026, 12, 7), QTime(23, 59, 59, 900)).toMSecsSinceEpoch();
        s.recorder.journal().useDailyFiles(dir.filePath("journal"));
        s.recorder.note(JournalKind::Command, QStringLiteral("Команда СТОП"));
        s.now += 200;
        s.recorder.note(JournalKind::Command, QStringLiteral("Команда КВИТ"));
        s.recorder.flush();
        QCOMPARE(FileLines(dir.filePath("journal/2026-12-07.csv")).value(1),
                 QStringLiteral("2026-12-07 23:59:59.900;Команда СТОП"));
        QCOMPARE(FileLines(dir.filePath("journal/2026-12-08.csv")).value(1),
                 QStringLiteral("2026-12-08 00:00:00.100;Команда КВИТ"));
    }

    // Past its limit the journal drops its oldest entry at once; the window's row of it reads
    // empty until the next refresh takes it away.
    void journalTablePastTheLimit() {
        EventJournal journal;
        JournalRows rows(journal);
        journal.add({kMorning, JournalKind::Command, QStringLiteral("первая")});
        rows.refresh();
        for (int i = 0; i < EventJournal::kMaxEntries; ++i)
            journal.add({kMorning, JournalKind::Command, QString::number(i)});
        QCOMPARE(rows.index(0, 1).data(), QVariant());
        rows.refresh();
        QCOMPARE(rows.rowCount(), EventJournal::kMaxEntries);
        QCOMPARE(rows.index(0, 1).data().toString(), QStringLiteral("0"));
    }

    // Long spans keep each column's extremes (a one-sample spike survives), short ones every
    // sample; a day is the most kept.
    void history() {
        EngineHistory h;
        for (int i = 0; i < 1000; ++i)
            h.append({kMorning + 200 * i, {float(i == 550 ? 3000 : 100)}});
        const QList<QPointF> all = h.decimated(kMorning, kMorning + 200 * 999, 10)[0];
        QVERIFY(all.size() <= 20);
        QVERIFY(std::any_of(all.begin(), all.end(), [](QPointF p) { return p.y() == 3000; }));
        QCOMPARE(h.decimated(kMorning, kMorning + 200 * 9, 10)[0].size(), 10);
        QCOMPARE(h.at(h.nearest(kMorning + 200 * 7 + 99)).wall_ms, kMorning + 200 * 7);
        h.append({kMorning + EngineHistory::kKeptMs + 200 * 10, {}});
        QCOMPARE(h.at(0).wall_ms, kMorning + 200 * 10);
        h.append({kMorning, {}}); // the clock set back a day
        QCOMPARE(h.at(h.size() - 1).wall_ms, kMorning + EngineHistory::kKeptMs + 200 * 10);

        // Ten a second: the count, not the day, drops the oldest, and the newest samples take
        // their place at the start of the history's block.
        const int n = EngineHistory::kMaxSamples;
        h.clear();
        for (int i = 0; i < n + 3; ++i)
            h.append({kMorning + 100 * i, {float(i)}});
        QCOMPARE(h.size(), n);
        QCOMPARE(h.at(0).raw[0], 3.0f);
        QCOMPARE(h.indexAt(kMorning + 100 * n - 1), n - 3);
        QCOMPARE(h.at(h.nearest(kMorning + 100 * n - 51)).raw[0], float(n - 1));
        const QList<QPointF> wrap =
            h.decimated(kMorning + 100 * (n - 2), kMorning + 100 * n, 10)[0];
        QCOMPARE(wrap, QList<QPointF>({{kMorning + 100.0 * (n - 2), n - 2.0},
                                       {kMorning + 100.0 * (n - 1), n - 1.0},
                                       {kMorning + 100.0 * n, double(n)}}));
    }
};

QTEST_GUILESS_MAIN(HistoryTest)
#include "test_history.moc"

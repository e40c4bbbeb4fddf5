#include "file_bytes.h"
#include "link_rig.h"
#include "traffic/frame_description.h"
#include "traffic/traffic_log_reader.h"
#include "traffic/traffic_monitor.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// What the traffic monitor makes of the line: the decoding of every frame kind, the rows and
// statistics of a scripted line, and the log file, also as read back.
class TrafficTest : public QObject {
    Q_OBJECT
    const ParamCatalogue& catalogue = Catalogue();

    struct Rig {
        explicit Rig(const ParamCatalogue& catalogue) : monitor(catalogue, u',') {
            link.cycle.on_event = [this](const LinkEvent& e) { monitor.take(e); };
        }
        LinkRig link;
        TrafficMonitor monitor;
    };

private slots:
    void describe_data() {
        QTest::addColumn<bool>("sent");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("text");
        const auto row = [](bool sent, const char* frame, const char* text) {
            QTest::newRow(text) << sent << QString(frame) << QString(text);
        };
        row(true, "07 04 01 2C 00 7D", "Опрос: 125 регистров с 300");
        row(true, "07 04 01 2C 00 15", "Опрос: 21 регистр с 300");
        row(true, "07 10 01 90 00 02 04 00 0C 00 01", "Транзакция: счётчик 12, откл. защит: да");
        row(true, "07 06 01 92 AB C4", "Команда ОТКЛ. ЗАЩ");
        row(true, "07 06 01 92 00 01", "Команда с кодом 0x0001");
        row(true, "07 64 01 00 0A", "Чтение параметров: 0–9");
        row(true, "07 64 01 17 01", "Чтение параметров: 23");
        row(true, "07 64 7F 00 02", "Чтение параметров: адрес 32512, байт 2");
        row(true, "07 65 01 1D 02 03 04", "Запись параметров: 24 = 3, 25 = 4");
        row(true, "07 65 02 42 02 80 01", "Запись параметров: 489 = -327,67");
        row(true, "07 2B 0E 01 00", "Неизвестная функция 43");
        row(false, "07 04 04 00 01 00 02", "Ответ на опрос: 2 регистра");
        row(false, "07 04 02 00 05", "Ответ на опрос: 1 регистр");
        row(false, "07 10 01 90 00 02", "Транзакция принята");
        row(false, "07 06 01 92 12 38", "Команда СТАРТ принята");
        row(false, "07 64 01 16 02 05 07", "Параметры: 22 = 50, 23 = 7");
        row(false, "07 65 01 1F 01 01", "Записано: 26 = 1");
        row(false, "07 E4 02", "Исключение 2 на функцию 100");
        row(false, "07 41", "Неизвестная функция 65");
    }
    void describe() {
        QFETCH(bool, sent);
        QFETCH(QString, frame);
        QTEST(DescribeFrame(WithCrc(Hex(qPrintable(frame))), sent, catalogue, u','), "text");
    }

    // Polls answered, lost, spoiled and refused: every row and count as it happened, response
    // times from when the bytes arrived.
    void scriptedLine() {
        Rig r(catalogue);
        FakeByteLine& port = r.link.port;
        r.link.tick(); // poll sent
        port.write_done_us = 1000, port.arrival_us = 4500;
        r.link.answer("07 04 00");                 // ОК in 3.5 ms; transaction sent
        r.link.tick();                             // no answer; repeated
        port.feed(Hex("07 10 01 90 00 02 00 00")); // bad CRC; repeated
        r.link.tick();
        port.write_done_us = 10000, port.arrival_us = 16000;
        r.link.answer("07 90 02"); // exception in 6 ms; poll sent
        port.write_done_us = 20000, port.arrival_us = 21000;
        r.link.answer("07 04 00"); // ОК in 1 ms; transaction sent
        TrafficRows& rows = r.monitor.rows();
        rows.flush();
        QStringList seen;
        for (int i = 0; i < rows.rowCount(); ++i)
            seen << rows.row(i).direction + rows.row(i).outcome;
        QCOMPARE(seen, (QStringList{">", "<ОК", ">", "<Нет ответа", ">повтор", "<Несовпадение КС",
                                    ">повтор", "<Исключение 2", ">", "<ОК", ">"}));
        QCOMPARE(rows.row(3).bytes, QByteArray());
        QCOMPARE(rows.row(5).bytes, Hex("07 10 01 90 00 02 00 00"));
        QCOMPARE(rows.row(5).description, QString());
        const LinkStatistics& s = r.monitor.statistics();
        QCOMPARE((QList<int>{s.sent, s.ok, s.no_answer, s.crc_mismatch, s.exceptions, s.repeats}),
                 (QList<int>{6, 2, 1, 1, 1, 2}));
        // Of the three first sends judged, two were answered; the transaction just sent waits.
        QCOMPARE(s.answeredFirstTime().value_or(-1), 200.0 / 3);
        const auto t = s.responseTimes();
        QCOMPARE((QList<double>{t.min, t.mean, t.p95, t.max}), (QList<double>{1, 3.5, 6, 6}));
        r.monitor.statistics().reset();
        QCOMPARE(r.monitor.statistics().sent, 0);
    }

    // An hour of polling and more: every count goes on past 16 bits, and the response times are
    // those of the last 1,000 answers whose time is known, fractions of a millisecond kept.
    void manyExchanges() {
        LinkStatistics s;
        for (int i = 1; i <= 40000; ++i) {
            s.take({0, true, {}, LinkOutcome::FirstSend});
            if (i % 4 == 0) {
                s.take({0, false, {}, i % 8 ? LinkOutcome::CrcMismatch : LinkOutcome::NoAnswer});
                s.take({0, true, {}, LinkOutcome::Repeat});
            }
            if (i % 10)
                s.take({0, false, {}, LinkOutcome::Ok, i / 4.0});
            else // its time unknown
                s.take({0, false, {}, LinkOutcome::Exception});
        }
        QCOMPARE((QList<int>{s.sent, s.ok, s.no_answer, s.crc_mismatch, s.exceptions, s.repeats}),
                 (QList<int>{50000, 36000, 5000, 5000, 4000, 10000}));
        const auto t = s.responseTimes();
        QCOMPARE(t.count, 1000);
        QCOMPARE((QList<double>{t.min, t.mean, t.p95, t.max}),
                 (QList<double>{9722.25, 9861.111, 9986, 9999.75}));
    }

    // A new file gets the mark and the header, an existing one is appended to; a file that
    // cannot be written stops the recording, said once, and the exchange goes on.
    void logFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("обмен.csv");
        Rig r(catalogue);
        QVERIFY(r.monitor.startLog(path));
        r.link.tick();
        r.monitor.stopLog();
        QVERIFY(r.monitor.startLog(path));
        r.link.answer("07 04 00");
        r.monitor.stopLog();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF") && !bytes.mid(3).contains("\xEF\xBB\xBF"));
        const QStringList lines = QString::fromUtf8(bytes.mid(3)).split("\r\n");
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0], "Время;Направление;Кадр;Результат;Расшифровка");
        const QRegularExpression time("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3};");
        QVERIFY(time.match(lines[1]).hasMatch());
        QCOMPARE(lines[1].mid(24), ">;07 04 01 2C 00 7D F0 78;;Опрос: 125 регистров с 300");
        QCOMPARE(lines[2].mid(24), "<;07 04 00 C2 C1;ОК;Ответ на опрос: 0 регистров");
        QCOMPARE(lines[4], QString());

        QVERIFY(!r.monitor.startLog(dir.path()));
        QVERIFY(!r.monitor.logError().isEmpty() && !r.monitor.logging());
        QSignalSpy failed(&r.monitor, &TrafficMonitor::logFailed);
        QVERIFY(r.monitor.startLog("/dev/full"));
        r.link.tick();
        r.monitor.flushLog();
        r.link.tick();
        r.monitor.flushLog();
        QCOMPARE(failed.size(), 1);
        QVERIFY(!r.monitor.logging());
        QVERIFY(!r.link.tick().isEmpty());
    }

    // A log read back shows the rows and counts the line had, its lines that are no row of a log
    // counted and named; a file of another kind, or none, is refused.
    void logReadBack() {
        QTemporaryDir dir;
        const QString path = dir.filePath("обмен.csv");
        Rig r(catalogue);
        QVERIFY(r.monitor.startLog(path));
        r.link.tick(), r.link.answer("07 04 00"), r.link.tick();
        r.link.port.feed(Hex("07 10 01 90 00 02 00 00"));
        r.link.tick(), r.link.answer("07 90 02");
        r.monitor.stopLog();
        QFile log(path);
        QVERIFY(log.open(QIODevice::Append));
        log.write("2026-12-07 10:00:00.000;>;07 04;;\r\n"              // line 11: read
                  "2026-13-07 10:00:00.000;>;07 04;;\r\n\r\n"          // 12: no such month
                  "2026-12-07 10:00:00.000;<;07 4;ОК;\r\n"             // 14: not hex pairs
                  "2026-12-07 10:00:00.000;>;07 04;ОК;\r\n"            // 15: a sent answer
                  "2026-12-07 10:00:00.000;<;07 04 00;Годно;\r\n"      // 16: no such result
                  "что-то;ещё\r\n"                                     // 17
                  "2026-12-07 10:00:00.000;<;07 84 03;Исключение 2;\n" // 18: not its code
                  "2026-12-07 10:00:00.000;<;07 84 03;Исключение 3;Любой текст\n");
        log.close();
        TrafficMonitor opened(catalogue, u',', kOpenedLogRows);
        QCOMPARE(ReadTrafficLog(path, opened).unreadText(),
                 "Не удалось прочитать 6 строк файла (номера строк: 12, 14, 15, "
                 "16, 17 и другие); остальные строки показаны.");
        TrafficRows& live = r.monitor.rows();
        live.flush();
        QCOMPARE(opened.rows().rowCount(), live.rowCount() + 2);
        for (int i = 0; i < live.rowCount(); ++i)
            QCOMPARE(traffic_text::LogLine(opened.rows().row(i)),
                     traffic_text::LogLine(live.row(i)));
        QCOMPARE(opened.rows().row(live.rowCount() + 1).description, "Исключение 3 на функцию 4");
        const LinkStatistics &was = r.monitor.statistics(), &is = opened.statistics();
        QCOMPARE((QList<int>{is.sent, is.ok, is.no_answer, is.crc_mismatch, is.exceptions}),
                 (QList<int>{was.sent + 1, was.ok, was.no_answer, was.crc_mismatch, 2}));
        QCOMPARE(is.answeredFirstTime().value_or(-1), 200.0 / 3);
        QCOMPARE(is.responseTimes().count, 3);

        const QString journal = dir.filePath("журнал.csv");
        WriteFileBytes(journal, "\xEF\xBB\xBFВремя;Событие\r\n");
        QCOMPARE(ReadTrafficLog(journal, opened).refusal,
                 journal + ": это не журнал обмена (первая строка файла не "
                           "«Время;Направление;Кадр;Результат;Расшифровка»)");
        QCOMPARE(ReadTrafficLog(dir.filePath("нет.csv"), opened).refusal,
                 dir.filePath("нет.csv") + ": файл не найден");
    }
};

QTEST_GUILESS_MAIN(TrafficTest)
#include "test_traffic.moc"

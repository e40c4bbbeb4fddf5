#include "file_bytes.h"
#include "files/param_report.h"
#include "files/param_report_pdf.h"
#include "live/poll_decoder.h"
#include "params/memory_param_boxes.h"
#include "params/param_description.h"
#include "pdf_text.h"
#include "recording_host.h"
#include "scripted_messages.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const ReportHeading kHeading{QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)),
                             {"ДРА", "1.2", "3.4", "1234,5 мч"},
                             12,
                             "COM3 (/dev/pts/7)"};

// The row of parameter n as pdftotext lays it out: the columns in order, blanks between them.
QRegularExpression RowPattern(int n, const QStringList& cells) {
    QString pattern = "^\\s*" + QString::number(n);
    for (const QString& cell : cells)
        if (!cell.trimmed().isEmpty())
            pattern += "\\s+" + QRegularExpression::escape(cell.trimmed());
    return QRegularExpression(pattern + "\\s*$");
}

} // namespace

class ParamReportTest : public QObject {
    Q_OBJECT
private slots:
    // A window after a compare, then a few other operations: every box's number, description,
    // text and state in words, the file's text beside those that differ, the value written
    // beside the one a write-all's check found stored otherwise, the heading, and the page
    // numbers, as a reader of the PDF sees them.
    void pdfHoldsHeadingAndEveryParameter() {
        QTemporaryDir dir;
        WriteFileBytes(dir.filePath("эталон.ini"), "[Parameters]\r\nPAR0=0\r\nPAR1=7,5\r\n"
                                                   "PAR2=x\r\nPAR3=1,5e1\r\nPAR4=99\r\n");
        MemoryParamBoxes boxes;
        for (int i = 0; i < kParamCount; ++i)
            boxes.texts[i] = i < 10 ? QString::number(i * 5) + ",0 " : QString::number(i % 250);
        RecordingHost status;
        ScriptedMessages messages;
        const std::optional<ComparedFile> compared =
            CompareParameterFile({boxes, status, messages}, dir.path(), "эталон.ini");
        QVERIFY(compared);
        const std::pair<int, std::optional<BoxState>> others[] = {
            {5, BoxState::FromEeprom}, {6, BoxState::Changed}, {7, BoxState::FromFile},
            {8, BoxState::NotStored},  {9, std::nullopt},      {10, BoxState::NotRead}};
        for (const auto& [i, state] : others)
            boxes.states[i] = state;
        boxes.texts[9] = "-";
        boxes.texts[11] = "";
        const QString pdf = dir.filePath("отчёт.pdf");
        // A write-all's check found 8 stored otherwise; 5 has been read since.
        const QHash<int, QString> written{{5, "77"}, {8, "45"}};
        QCOMPARE(WriteParamReport(MakeParamReport(kHeading, boxes, compared, written), pdf),
                 QString());

        const QStringList pages = PdfPages(pdf);
        QVERIFY(pages.size() > 1);
        const QString text = pages.join('\n');
        for (const QString& line : QStringList{
                 "Параметры контроллера ЗАРН", "Дата и время: 2024-05-06 07:08:09",
                 "Тип объекта: ДРА", "Версия протокола: 1.2", "Версия ПО: 3.4",
                 "Общая наработка: 1234,5 мч", "Адрес контроллера: 12", "Порт: COM3 (/dev/pts/7)",
                 "Сравнение с файлом: " + dir.filePath("эталон.ini"), "В файле", "Записано"})
            QVERIFY2(text.contains(line), qPrintable(line));
        const QStringList states = {"совпадает с файлом",
                                    "отличается от файла",
                                    "отличается от файла",
                                    "совпадает с файлом",
                                    "отличается от файла",
                                    "из ЭСППЗУ",
                                    "изменён",
                                    "из файла",
                                    "не совпал при проверке записи",
                                    "не прочитан",
                                    "не прочитан"};
        // The file's text, or the value written (one of the two columns is empty in each row).
        const QStringList lastCells = {"", "7,5", "x", "", "99", "", "", "", "45"};
        const QStringList lines = text.split('\n');
        for (int i = 0; i < kParamCount; ++i) {
            const QString state = i < states.size() ? states[i] : "нет в файле";
            const QRegularExpression row =
                RowPattern(i, {ParamDescription(i), boxes.texts[i], state, lastCells.value(i)});
            QVERIFY2(lines.filter(row).size() == 1, qPrintable(row.pattern()));
        }
        for (int p = 0; p < pages.size(); ++p)
            QVERIFY(pages[p].trimmed().endsWith(
                QString("Страница %1 из %2").arg(p + 1).arg(pages.size())));
    }

    // Once no box shows the compare any more, the report names no file and has no file column.
    // Before the first poll answer the panel's facts are unknown; an answer of an unknown object
    // type keeps the type known before.
    void headingWithoutCompareOrPoll() {
        QTemporaryDir dir;
        MemoryParamBoxes boxes;
        ComparedFile compared{dir.filePath("старый.ini"), {}};
        compared.values[0] = "1";
        boxes.states[0] = BoxState::FromEeprom;
        ReportHeading heading;
        heading.made = kHeading.made;
        const QString pdf = dir.filePath("r.pdf");
        QCOMPARE(WriteParamReport(MakeParamReport(heading, boxes, compared, {}), pdf), QString());
        const QString text = PdfPages(pdf).join('\n');
        QVERIFY(text.contains("Тип объекта: —") && text.contains("Порт: —"));
        QVERIFY(!text.contains("старый") && !text.contains("В файле") &&
                !text.contains("Записано"));

        PanelFacts facts;
        PollDecoder decoder(',');
        RxBuffer rx;
        rx.rx_buffer[8] = 1; // register 2, the object type
        facts.take(decoder.decode(rx));
        rx.rx_buffer[8] = 5;
        facts.take(decoder.decode(rx));
        QCOMPARE(facts.object_type, QString("ДРА"));
    }

    // «Отчёт…» saves like the window's other saves, adding ".pdf" to the name typed.
    void savedUnderThePickersName() {
        QTemporaryDir dir;
        RecordingHost status;
        ScriptedMessages messages;
        MemoryParamBoxes boxes;
        const ParamReport report = MakeParamReport(kHeading, boxes, std::nullopt, {});
        QVERIFY(SaveParamReport(status, messages, report, dir.path(), "отчёт"));
        QVERIFY(SaveParamReport(status, messages, report, dir.path(), "Б.PDF"));
        QVERIFY(!SaveParamReport(status, messages, report, dir.path(), "отчёт.pdf"));
        QVERIFY(!SaveParamReport(status, messages, report, dir.filePath("Б.PDF"), "в.pdf"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"Б.PDF", "отчёт.pdf"}));
        QVERIFY(FileBytes(dir.filePath("отчёт.pdf")).startsWith("%PDF"));
        QStringList shown;
        for (const ScriptedMessages::Shown& box : messages.shown)
            shown << box.title + ": " + box.text;
        QCOMPARE(shown, (QStringList{"Создание файла отчёта: Файл отчёт.pdf уже существует!\r\n"
                                     "Заменить его?",
                                     "Ошибка открытия файла: Невозможно открыть файл в.pdf для "
                                     "записи\r\n" +
                                         dir.filePath("Б.PDF/в.pdf") +
                                         ": часть пути не является папкой"}));
    }
};

QTEST_MAIN(ParamReportTest)
#include "test_param_report.moc"

#include "file_bytes.h"
#include "frames.h"
#include "history/event_journal.h"
#include "traffic/traffic_monitor.h"
#include "views/journal_window.h"
#include "views/traffic_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

// A traffic log and a journal file opened from the live windows: each in a window of its own,
// titled with the file's name, its rows shown and filtered as the live ones, what could not be
// read told under them; a file of the other kind refused in a message.
class OpenedFilesTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    template <class Window> static Window* openedWindow(const char* name) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == name && w->isVisible())
                return qobject_cast<Window*>(w);
        return nullptr;
    }
    static QString cell(QWidget* window, const char* table, int row, int column) {
        auto* view = window->findChild<QTableView*>(table);
        return view->model()->index(row, column).data().toString();
    }

private slots:
    void trafficLog() {
        const QString path = dir.filePath("обмен.csv");
        WriteFileBytes(path, CsvFileStart(traffic_text::kLogHeader) +
                                 "2026-12-07 10:00:00.000;>;07 04 01 2C 00 7D F0 78;;\r\n"
                                 "2026-12-07 10:00:00.090;<;07 04 00 C2 C1;ОК;\r\n"
                                 "2026-12-07 10:00:00.095;<;07 04 00 C2 C1;ОК;\r\n"
                                 "2026-12-07 10:00:00.100;>;07 06 01 92 12 38 24 CF;;\r\n"
                                 "обрыв\r\n");
        TrafficMonitor live(Catalogue(), u',');
        TrafficWindow window(live);
        QString refused;
        window.tell_refusal = [&](const QString& text) { refused = text; };
        QString asked = dir.filePath("журнал.csv");
        WriteFileBytes(asked, CsvFileStart(EventJournal::kHeader));
        window.ask_open_name = [&](const QString&, const QString&) { return asked; };
        auto* open = window.findChild<QPushButton*>("open_log");
        open->click();
        QVERIFY(refused.contains("это не журнал обмена"));
        QVERIFY(!openedWindow<TrafficWindow>("frm_traffic_file"));
        asked = path;
        open->click();
        auto* opened = openedWindow<TrafficWindow>("frm_traffic_file");
        QVERIFY(opened);
        QCOMPARE(opened->windowTitle(), "Журнал обмена — обмен.csv");
        QCOMPARE(cell(opened, "traffic_table", 3, 4), "Команда СТАРТ");
        QVERIFY(opened->findChild<QLabel*>("statistics")
                    ->text()
                    .contains("Отправлено: 2   ОК: 2   Нет ответа: 0"));
        QVERIFY(opened->findChild<QLabel*>("statistics")->text().contains("(последние 1): мин 90"));
        QVERIFY(opened->findChild<QLabel*>("file_state")
                    ->text()
                    .endsWith("Не удалось прочитать 1 строку файла (номера строк: 6); остальные "
                              "строки показаны."));
        QVERIFY(!opened->findChild<QPushButton*>("record")->isVisible());
        opened->findChild<QCheckBox*>("hide_background")->click();
        QCOMPARE(opened->findChild<QTableView*>("traffic_table")->model()->rowCount(), 1);
        opened->close();
    }

    void journalFile() {
        const QString path = dir.filePath("события.csv");
        WriteFileBytes(path, CsvFileStart(EventJournal::kHeader) +
                                 "2026-12-07 10:00:00.000;Связь установлена\r\n"
                                 "2026-12-07 10:00:01.000;«Авария» «Текущая»: 0000 → 0010\r\n"
                                 "2026-12-07 10:00:02.000;Команда СТАРТ\r\n");
        EventJournal live;
        JournalWindow window(live);
        window.ask_open_name = [&](const QString&, const QString&) { return path; };
        window.findChild<QPushButton*>("open_journal")->click();
        auto* opened = openedWindow<JournalWindow>("frm_journal_file");
        QVERIFY(opened);
        QCOMPARE(opened->windowTitle(), "Журнал событий — события.csv");
        QCOMPARE(opened->findChild<QLabel*>("journal_file")->text(),
                 "Файл: " + QDir::toNativeSeparators(path));
        auto* kinds = opened->findChild<QComboBox*>("kind_filter");
        kinds->setCurrentIndex(kinds->findText("Команды"));
        QCOMPARE(opened->findChild<QTableView*>("journal_table")->model()->rowCount(), 1);
        QCOMPARE(cell(opened, "journal_table", 0, 1), "Команда СТАРТ");
        opened->close();
    }
};

QTEST_MAIN(OpenedFilesTest)
#include "test_opened_files.moc"

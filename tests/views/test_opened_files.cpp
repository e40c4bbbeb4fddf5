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

    static QWidget* openedWindow(const char* name) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == name && w->isVisible())
                return w;
        return nullptr;
    }
    static QAbstractItemModel* rows(QWidget* window, const char* table) {
        return window->findChild<QTableView*>(table)->model();
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
        QVERIFY(refused.contains("это не журнал обмена") && !openedWindow("frm_traffic_file"));
        asked = path;
        open->click();
        QWidget* opened = openedWindow("frm_traffic_file");
        QVERIFY(opened);
        QCOMPARE(opened->windowTitle(), "Журнал обмена — обмен.csv");
        QCOMPARE(rows(opened, "traffic_table")->index(3, 4).data(), "Команда СТАРТ");
        const QString figures = opened->findChild<QLabel*>("statistics")->text();
        QVERIFY(figures.contains("Отправлено: 2   ОК: 2   Нет ответа: 0") &&
                figures.contains("(последние 1): мин 90"));
        QVERIFY(opened->findChild<QLabel*>("file_state")
                    ->text()
                    .endsWith("(номера строк: 6); "
                              "остальные строки показаны."));
        opened->findChild<QCheckBox*>("hide_background")->click();
        QCOMPARE(rows(opened, "traffic_table")->rowCount(), 1);
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
        QWidget* opened = openedWindow("frm_journal_file");
        QVERIFY(opened);
        QCOMPARE(opened->windowTitle(), "Журнал событий — события.csv");
        QCOMPARE(opened->findChild<QLabel*>("journal_file")->text(),
                 "Файл: " + QDir::toNativeSeparators(path));
        auto* kinds = opened->findChild<QComboBox*>("kind_filter");
        kinds->setCurrentIndex(kinds->findText("Команды"));
        QCOMPARE(rows(opened, "journal_table")->rowCount(), 1);
        QCOMPARE(rows(opened, "journal_table")->index(0, 1).data(), "Команда СТАРТ");
        opened->close();
    }
};

QTEST_MAIN(OpenedFilesTest)
#include "test_opened_files.moc"

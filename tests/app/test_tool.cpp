#include "app/qt_translation.h"
#include "app/tool.h"
#include "app/tool_options.h"
#include "fake_ports.h"
#include "file_bytes.h"
#include "files/parameter_file.h"
#include "link_rig.h"
#include "pdf_text.h"
#include "scripted_messages.h"
#include "views/chart_window.h"
#include "views/journal_window.h"
#include "views/param_window/param_window.h"
#include "views/port_dialog.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

namespace {
const QByteArray kCom3 = "[PC config]\r\nCOM=3\r\n";

// The whole tool on an in-memory port and a scratch configuration file. With a `dialogButton` the
// first box is answered OK and the port dialog picks the first port and is left with the button.
struct ToolFixture {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("тп.ini"));
    ScriptedMessages boxes;
    FakePorts ports;
    FakeByteLine* port = &ports.device;
    Tool tool{ports.factory(), boxes, {path, dir.path()}, QLatin1Char('.')};
    MainWindow& window = tool.window();
    qint64 check_clock_ms = 0; // what the read-back check counts a silence by

    explicit ToolFixture(const QByteArray& config, QList<int> free = {3}, QList<int> held = {},
                         const QString& dialogButton = {}) {
        if (!config.isEmpty())
            WriteFileBytes(path, config);
        ports.available_ports = {free.begin(), free.end()};
        ports.held_ports = {held.begin(), held.end()};
        tool.let_events_run = [] {};
        tool.parameters().setBackupFolder(dir.filePath(QStringLiteral("backups")));
        tool.parameters().backup_clock = [] { return QDateTime(QDate(2026, 12, 7), QTime(10, 0)); };
        tool.parameters().setCheckClock([this] { return check_clock_ms; });
        tool.run_modal = [dialogButton](PortDialog& dialog) {
            QTest::keyClick(dialog.findChild<QComboBox*>("cmbCOMList"), Qt::Key_Down);
            dialog.findChild<QPushButton*>(dialogButton)->click();
        };
        if (!dialogButton.isEmpty())
            boxes.answer(MessageAnswer::Ok);
    }
    QString answer(const QByteArray& bytes) {
        return port->feed(bytes), HexText(TickAndTakeFrame(tool.link(), *port));
    }
    // A tick of the main window's timer, with all it does besides the exchange.
    void tick() { QMetaObject::invokeMethod(window.findChild<QTimer*>("Timer1"), "timeout"); }
    QStringList journalled(JournalKind kind) {
        QStringList texts;
        for (const JournalEntry& e : tool.recorder().journal().entries())
            if (e.kind == kind)
                texts << e.text;
        return texts;
    }
    bool running() { return window.isVisible() && window.findChild<QTimer*>("Timer1")->isActive(); }
};
} // namespace

class ToolTest : public QObject {
    Q_OBJECT
private slots:
    // The configuration names COM<com> (none at all for -1). A box offers another port or the
    // end of the program; `seen`: the boxes' texts, the outcome and the file, if saved.
    void startUp_data() {
        QTest::addColumn<int>("com");
        QTest::addColumn<QList<int>>("free");
        QTest::addColumn<QList<int>>("held");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("seen");
        const auto row = [](const char* name, int com, QList<int> free, QList<int> held,
                            const char* button, QStringList seen) {
            QTest::newRow(name) << com << free << held << QString(button) << seen;
        };
        const QString held = "Порт COM3 занят другим приложением\r\nВыберите другой порт";
        const QString absent = "Порт COM0 не доступен\r\nВыберите другой порт";
        const QString saved = "[PC config]\r\nCOM=1\r\n[QLA config]\r\nMBSLAD=";
        row("free port", 3, {3}, {}, "", {"runs on COM3"});
        row("first start", -1, {1}, {}, "", {"runs on COM1", saved + "-1\r\n"});
        row("held, cancel", 3, {3}, {3}, "", {held, "ends"});
        row("held, another chosen", 3, {1, 3}, {3}, "OK", {held, "runs on COM1", saved + "7\r\n"});
        row("held, dialog cancelled", 3, {1, 3}, {3}, "Отмена", {held, "runs on Порт не выбран"});
        // The port picked and then cancelled is not taken behind the user's back.
        row("no port, dialog cancelled", 0, {1, 3}, {}, "Отмена", {absent, absent, "ends"});
    }
    void startUp() {
        QFETCH(int, com);
        QFETCH(QList<int>, free);
        QFETCH(QList<int>, held);
        QFETCH(QString, button);
        const QByteArray config =
            com < 0 ? "" : "[PC config]\r\nCOM=" + QByteArray::number(com) + "\r\n";
        ToolFixture f(config, free, held, button);
        const bool started = f.tool.start();
        if (started) // a closed port is said as such on every tick, not taken for silence
            f.tick();
        QStringList seen;
        for (const ScriptedMessages::Shown& box : f.boxes.shown)
            seen << box.text;
        QVERIFY(f.boxes.showedOnly(MessageIcon::Critical, MessageButtons::OkCancel,
                                   "Ошибка открытия порта", seen.value(0), seen.size()));
        const QString on =
            f.port->isOpen() ? QString("COM%1").arg(f.ports.open_number) : f.window.text();
        seen << (!started ? "ends" : f.running() ? "runs on " + on : "not shown");
        if (FileBytes(f.path) != config)
            seen << FileBytes(f.path);
        QTEST(seen, "seen");
    }

    // Commands go out behind the poll in flight, in the order clicked, or are refused (and said)
    // when the ring is full. Poll answers reach the parameter window too. Closing ends it all.
    void commandsAndPollAnswersUntilTheEnd() {
        ToolFixture f(kCom3);
        QVERIFY(f.tool.start());
        f.answer({});
        QStringList seen;
        for (int i = 0; i < 4; ++i) {
            auto* button = f.window.findChild<QPushButton*>(QStringLiteral("cmd_mode_%1").arg(i));
            seen << button->text();
            button->click();
        }
        for (int i = 0; i < 4; ++i)
            seen << f.answer(PollFrame({})).left(17);
        QCOMPARE(seen,
                 (QStringList{"СТАРТ", "СТОП", "КВИТ", "ОТКЛ. ЗАЩ", "07 06 01 92 12 38",
                              "07 06 01 92 45 69", "07 06 01 92 78 9A", "07 06 01 92 AB C4"}));
        auto* menu = f.window.findChild<QAction*>("mnu_param");
        menu->trigger();
        QWidget* params = f.window.findChild<QWidget*>("frm_param");
        QWidget* blocked = params->findChild<QWidget*>("lbl_modbus_off");
        f.answer(PollFrame({{0, 0x8000}}));
        QVERIFY(blocked->isVisibleTo(params) && !menu->isEnabled());
        f.answer(PollFrame({}));
        QVERIFY(!blocked->isVisibleTo(params) && menu->isEnabled());
        while (f.tool.link().queue(ParamReadRequest(0x0010, 2))) {
        }
        f.window.findChild<QPushButton*>("cmd_mode_0")->click();
        QCOMPARE(f.window.text(), QString("Очередь запросов переполнена"));
        f.window.close();
        QVERIFY(!f.running() && !params->isVisible() && !f.port->isOpen());
        QCOMPARE(FileBytes(f.path), kCom3);
    }

    // Each file the command line names that cannot be opened gets the same warning box, naming
    // the file and why; the tool works on, and the journal is not reported a second time.
    void filesOfTheCommandLineThatCannotBeOpened() {
        ToolFixture f(kCom3);
        const QString folder = f.dir.filePath("нет");
        ToolOptions options;
        QCOMPARE(options.read({"zarn-tool", "--record", folder + "/з.csv", "--journal",
                               folder + "/ж.csv", "--traffic-log", folder + "/о.csv"}),
                 QString());
        options.applyTo(f.tool, f.boxes);
        QVERIFY(f.tool.start());
        f.answer(PollFrame({}));
        f.tool.recorder().flush();
        QStringList texts;
        for (const char* name : {"о", "з", "ж"})
            texts << QString("Невозможно открыть для записи %1/%2.csv: папка %1 не существует."
                             "\r\nПрограмма работает без этого файла.")
                         .arg(folder, name);
        QCOMPARE(f.boxes.shown.size(), 3);
        for (int i = 0; i < 3; ++i)
            QVERIFY(f.boxes.shown[i].icon == MessageIcon::Warning &&
                    f.boxes.shown[i].title == "Ошибка открытия файла" &&
                    f.boxes.shown[i].text == texts[i]);
    }

    // Qt's own words (standard buttons, file dialogs) speak Russian on a Russian system.
    void qtSpeaksRussianOnARussianSystem() {
        QTranslator english, russian;
        QVERIFY(!LoadQtRussian(english, QLocale(QLocale::English)));
        QVERIFY(LoadQtRussian(russian, QLocale(QLocale::Russian)));
        QCoreApplication::installTranslator(&russian);
        const QDialogButtonBox buttons(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QString("Отмена"));
        QCoreApplication::removeTranslator(&russian);
    }

    // «Обмен» → «Быстрый обмен» starts as тп.ini has it (FAST=1), and a switch is written there
    // at once and journalled; a file without the key is left as it is until the user switches.
    void fastExchangeRemembered() {
        for (const bool stored : {false, true}) {
            const QByteArray config = kCom3 + (stored ? "FAST=1\r\n" : "");
            ToolFixture f(config);
            QVERIFY(f.tool.start());
            auto* entry = f.window.findChild<QAction*>("mnu_fast");
            QCOMPARE(entry->text(), QString("&Быстрый обмен"));
            QCOMPARE(entry->isChecked(), stored);
            QCOMPARE(f.tool.link().fast(), stored);
            QCOMPARE(FileBytes(f.path), config);
            entry->trigger();
            QCOMPARE(f.tool.link().fast(), !stored);
            QCOMPARE(FileBytes(f.path), kCom3 + (stored ? "FAST=0\r\n" : "FAST=1\r\n"));
            QCOMPARE(f.journalled(JournalKind::Link).last(),
                     stored ? "Быстрый обмен выключен" : "Быстрый обмен включён");
        }
    }

    // What the tool saw and did goes to the journal, which opens from its own menu entry
    // after the monitor's, filters by kind and saves what it shows; a recording file that
    // cannot be written is said once while polling goes on, one that cannot be opened at once.
    void journalAndRecording() {
        ToolFixture f(kCom3);
        QVERIFY(f.tool.start());
        QStringList menu;
        for (QAction* entry : f.window.menuBar()->actions())
            menu << entry->text();
        QCOMPARE(menu.mid(2, 3), (QStringList{"&Монитор обмена", "&Графики", "&Журнал событий"}));
        f.tick();
        f.answer(PollFrame({{75, 0x0020}}));
        f.window.findChild<QPushButton*>("cmd_mode_0")->click();
        f.window.findChild<QAction*>("mnu_param")->trigger();
        f.window.findChild<QAction*>("mnu_journal")->trigger();
        QWidget* journal = f.window.findChild<QWidget*>("frm_journal");
        QVERIFY(journal && journal->isVisible());
        auto* table = journal->findChild<QTableView*>("journal_table");
        QCOMPARE(QAccessible::queryAccessibleInterface(table)->text(QAccessible::Name),
                 QString("Журнал событий"));
        const auto events = [table] {
            QStringList texts;
            for (int row = 0; row < table->model()->rowCount(); ++row)
                texts << table->model()->index(row, 1).data().toString();
            return texts;
        };
        QCOMPARE(events(),
                 (QStringList{"Порт COM3 открыт", "Связь установлена", "Тип объекта: ДГУ",
                              "Сигнал 5: вкл", "Команда СТАРТ", "Чтение всех параметров"}));
        journal->findChild<QComboBox*>("kind_filter")->setCurrentText("Команды");
        QCOMPARE(events(), QStringList{"Команда СТАРТ"});
        QTemporaryDir dir;
        static_cast<JournalWindow*>(journal)->ask_save_name =
            [&](const QString&, const QString&, SaveMode) { return dir.filePath("журнал"); };
        journal->findChild<QPushButton*>("save")->click();
        QCOMPARE(FileBytes(dir.filePath("журнал.csv")),
                 "\xEF\xBB\xBFВремя;Событие\r\n" +
                     table->model()->index(0, 0).data().toString().toUtf8() + ";Команда СТАРТ\r\n");

        QVERIFY(f.tool.recorder().startRecording("/dev/full"));
        f.answer(PollFrame({}));
        f.tool.recorder().flush();
        f.tool.recorder().flush();
        QCOMPARE(f.boxes.shown.size(), 1);
        QCOMPARE(f.boxes.shown[0].title, QString("Запись в файл остановлена"));
        QVERIFY(f.boxes.shown[0].text.startsWith("/dev/full: "));
        QCOMPARE(f.answer(PollFrame({})).left(8), QString("07 64 01"));

        f.window.findChild<QAction*>("mnu_charts")->trigger();
        auto* charts = f.window.findChild<ChartWindow*>("frm_charts");
        charts->ask_save_name = [&](const QString&, const QString&, SaveMode mode) {
            return mode == SaveMode::Append ? dir.path() : QString();
        };
        auto* record = charts->findChild<QPushButton*>("record");
        record->click();
        QCOMPARE(f.boxes.shown.size(), 2);
        QCOMPARE(f.boxes.shown[1].title, QString("Запись в файл не начата"));
        QVERIFY(f.boxes.shown[1].text.startsWith(dir.path() + ": "));
        QCOMPARE(charts->findChild<QLabel*>("record_state")->text(),
                 "Запись в файл не ведётся: " + f.boxes.shown[1].text);
        QVERIFY(!record->isChecked());
    }

    // Before a write-all the tool backs up what the controller reported: an incomplete backup
    // is asked about, a folder that cannot be written cancels; either way nothing goes out.
    // What one address reported does not count for another, whether the user picked another
    // address or an answer came from one; the read-back names every parameter the controller
    // did not report back. The journal names each backup and each failed one with its reason;
    // a retry is named for the moment it is written.
    void backupBeforeWriteAll() {
        ToolFixture f(kCom3);
        QVERIFY(f.tool.start());
        f.window.findChild<QAction*>("mnu_param")->trigger();
        auto* params = f.window.findChild<ParamWindow*>("frm_param");
        f.answer({});
        f.answer(WithCrc(Hex("07 64 01 00 0A 00 01 02 03 04 05 06 07 08 09")));
        for (int i = 0; i < kParamCount; ++i)
            params->setText(i, "1");
        int waiting = f.tool.link().waiting();
        ScriptedMessages::Shown question;
        QList<ScriptedMessages::Shown> shown;
        const auto writeAll = [&](
                                  QList<MessageAnswer> answers, std::function<void()> fix = [] {}) {
            for (MessageAnswer a : answers)
                f.boxes.answer(
                    a, a == MessageAnswer::Retry ? fix : [] {});
            params->writeAllButton()->click();
            QStringList titles;
            for (const auto& box : f.boxes.shown)
                titles << box.title;
            question = f.boxes.shown[0];
            shown = f.boxes.shown;
            f.boxes.shown.clear();
            return titles;
        };
        QCOMPARE(writeAll({MessageAnswer::No}), QStringList{"Резервная копия неполная"});
        QVERIFY(question.icon == MessageIcon::Question &&
                question.buttons == MessageButtons::YesNo &&
                question.text.startsWith("Контроллер не сообщил значения ") &&
                !question.text.contains("значения 506 "));
        f.answer(WithCrc(Hex("09 64 01 00 01 2A")));
        waiting = f.tool.link().waiting();
        QCOMPARE(writeAll({MessageAnswer::Yes}), QStringList{"Резервная копия неполная"});
        QVERIFY(question.text.contains("значения 505 параметров из 506"));
        QCOMPARE(f.tool.link().waiting(), waiting + 61);
        const QStringList backups = QDir(f.dir.filePath("backups")).entryList(QDir::Files);
        QVERIFY(backups.size() == 1 && backups[0].endsWith("_адрес9.ini"));
        const QByteArray backup = FileBytes(f.dir.filePath("backups/" + backups[0]));
        QCOMPARE(backup, "[Parameters]\r\nPAR0=42 \r\n");
        // Every frame refused: the controller reported nothing back. The progress has gone by
        // the time the verdict is shown.
        bool progressShown = true;
        f.boxes.answer(MessageAnswer::Ok, [&] {
            progressShown = !params->findChild<QProgressBar*>("transfer_bar")->isHidden();
        });
        for (int i = 0; i < 400 && f.boxes.shown.isEmpty(); ++i)
            f.answer(WithCrc(Hex("07 E5 02"))), f.tool.parameters().followTransfers();
        QVERIFY(!f.boxes.shown.isEmpty() && f.boxes.shown[0].title == "Проверка записи" &&
                f.boxes.shown[0].icon == MessageIcon::Warning);
        QVERIFY(!progressShown);
        f.boxes.shown.clear();
        QList<int> notStored;
        for (int i = 0; i < kParamCount; ++i)
            if (params->state(i) == BoxState::NotStored)
                notStored << i;
        QCOMPARE(notStored.size(), kParamCount - 1); // all but 0, written as it was reported
        QCOMPARE(notStored[0], 1);
        waiting = f.tool.link().waiting();

        // The write-all gave the controller the own address 1 and the list followed it.
        QTest::keyClick(f.window.findChild<QComboBox*>("cmb_slad"), Qt::Key_Down);
        QDateTime at(QDate(2026, 12, 7), QTime(10, 0));
        f.tool.parameters().backup_clock = [&at] { return at = at.addSecs(5); };
        WriteFileBytes(f.dir.filePath("plain"), "x");
        f.tool.parameters().setBackupFolder(f.dir.filePath("plain/backups"));
        QCOMPARE(writeAll({MessageAnswer::Yes, MessageAnswer::Retry, MessageAnswer::Cancel}),
                 (QStringList{"Резервная копия неполная", "Резервная копия не записана",
                              "Резервная копия не записана"}));
        QVERIFY(question.text.contains("значения 506 параметров из 506"));
        QVERIFY(shown[1].text.startsWith("Невозможно записать резервную копию в файл " +
                                         f.dir.filePath("plain/backups/")));
        QVERIFY(shown[1].text.endsWith(".ini: часть пути не является папкой.\r\n"
                                       "Параметры в контроллер не записаны."));
        QCOMPARE(f.tool.link().waiting(), waiting);
        writeAll({MessageAnswer::Yes, MessageAnswer::Retry},
                 [&] { QFile::remove(f.dir.filePath("plain")); });
        QCOMPARE(f.tool.link().waiting(), waiting + 61);
        const QString retried = "2026-12-07_10-00-20_адрес2.ini";
        QCOMPARE(QDir(f.dir.filePath("plain/backups")).entryList(QDir::Files),
                 QStringList{retried});
        const auto failed = [&](const char* time) {
            return "Резервная копия не записана: " +
                   QDir::toNativeSeparators(f.dir.filePath("plain/backups/2026-12-07_10-00-")) +
                   time + "_адрес2.ini: часть пути не является папкой";
        };
        const QStringList journalled = f.journalled(JournalKind::Parameter);
        QCOMPARE(
            journalled.mid(journalled.size() - 5),
            (QStringList{failed("05"), failed("10"), failed("15"),
                         "Резервная копия записана: " +
                             QDir::toNativeSeparators(f.dir.filePath("plain/backups/" + retried)),
                         "Запись всех параметров"}));

        // A controller silent for 5 s ends the check without a verdict, and its progress.
        auto* bar = params->findChild<QProgressBar*>("transfer_bar");
        f.tick();
        f.check_clock_ms += 4999;
        f.tick();
        QVERIFY(f.boxes.shown.isEmpty() && !bar->isHidden());
        f.check_clock_ms += 1;
        f.tick();
        const QString silent = "Проверка записи прервана: нет ответа от контроллера";
        QVERIFY(f.boxes.showedOnly(MessageIcon::Warning, MessageButtons::Ok, "Проверка записи",
                                   silent));
        QVERIFY(bar->isHidden());
        QCOMPARE(f.journalled(JournalKind::Parameter).last(), silent);
    }

    // Each parameter operation of the window is journalled once it is under way; a file by the
    // whole path it went to or came from.
    void parameterOperationsJournalled() {
        ToolFixture f(kCom3);
        QVERIFY(f.tool.start());
        f.window.findChild<QAction*>("mnu_param")->trigger();
        auto* params = f.window.findChild<ParamWindow*>("frm_param");
        for (int i = 0; i < kParamCount; ++i)
            params->setText(i, "1");
        params->findChild<QLineEdit*>("Text3")->setText("пуск.ini");
        params->saveFileButton()->click();
        params->readFileButton()->click();
        params->compareButton()->click();
        QTest::keyClick(params->box(5), Qt::Key_Return);
        f.boxes.answer(MessageAnswer::Yes); // the backup of a controller never read is incomplete
        params->writeAllButton()->click();
        const QString file = QDir::toNativeSeparators(f.dir.filePath("пуск.ini"));
        QCOMPARE(f.journalled(JournalKind::Parameter),
                 (QStringList{"Чтение всех параметров", "Сохранение в файл " + file,
                              "Чтение из файла " + file, "Сравнение с файлом " + file,
                              "Запись параметра 5: 1",
                              "Резервная копия записана: " +
                                  QDir::toNativeSeparators(
                                      f.dir.filePath("backups/2026-12-07_10-00-00_адрес7.ini")),
                              "Запись всех параметров"}));
    }

    // An echo that shows another value stored than the one sent (a controller that limits the
    // setting) is journalled with both; one stored as sent adds nothing.
    void storedOtherwiseJournalled() {
        ToolFixture f(kCom3);
        QVERIFY(f.tool.start());
        f.window.findChild<QAction*>("mnu_param")->trigger();
        auto* params = f.window.findChild<ParamWindow*>("frm_param");
        const auto write = [&](const char* typed, char stored) {
            params->setText(5, typed);
            QTest::keyClick(params->box(5), Qt::Key_Return);
            QByteArray sent;
            while (!(sent = TickAndTakeFrame(f.tool.link(), *f.port)).startsWith("\x07\x65"))
                f.port->feed(WithCrc(Hex("07 64 00 00 00")));
            f.port->feed(WithCrc(sent.left(5) + stored));
            TickAndTakeFrame(f.tool.link(), *f.port);
            return params->text(5);
        };
        QCOMPARE(write("2500", char(200)), QString("2000 "));
        QCOMPARE(write("1500", char(150)), QString("1500 "));
        QCOMPARE(
            f.journalled(JournalKind::Parameter),
            (QStringList{"Чтение всех параметров", "Запись параметра 5: 2500",
                         "Запись параметра 5: 2500 → сохранено 2000", "Запись параметра 5: 1500"}));
    }

    // «Отчёт…», last of the parameter window's buttons, heads the report with what the main
    // window shows of the panel and the link, and names it as typed, ".pdf" added.
    void reportOfTheParameterWindow() {
        ToolFixture f(kCom3);
        QVERIFY(f.tool.start());
        f.answer({});
        f.answer(PollFrame({{0, 0x0102}, {1, 0x0304}, {2, 1}, {74, 6000}}));
        const QString here = QDir::currentPath();
        QDir::setCurrent(f.dir.path()); // where the window's picker starts
        f.window.findChild<QAction*>("mnu_param")->trigger();
        QDir::setCurrent(here);
        QWidget* params = f.window.findChild<QWidget*>("frm_param");
        auto* compare = params->findChild<QPushButton*>("cmdCompare");
        auto* report = params->findChild<QPushButton*>("cmdReport");
        QVERIFY(report->isVisible() && report->isEnabled() && report->text() == "Отчёт…");
        QVERIFY(report->x() == compare->x() && report->y() > compare->geometry().bottom());
        params->findChild<QLineEdit*>("Text3")->setText("отчёт");
        report->click();
        const QString text = PdfPages(f.dir.filePath("отчёт.pdf")).join('\n');
        for (const QString& line : QStringList{"Тип объекта: ДРА", "Версия протокола: 1.2",
                                               "Версия ПО: 3.4", "Общая наработка: 100 мч",
                                               "Адрес контроллера: 7", "Порт: COM3 (/dev/ttyS2)"})
            QVERIFY2(text.contains(line), qPrintable(line));
        QVERIFY(f.boxes.shown.isEmpty());
    }

    // «Сравнить файлы…», below «Отчёт…»: the first file's values in the boxes, coloured by the
    // second's as the compare with the controller colours them, and journalled.
    void compareTwoFiles() {
        ToolFixture f(kCom3);
        QVERIFY(f.tool.start());
        f.window.findChild<QAction*>("mnu_param")->trigger();
        auto* params = f.window.findChild<ParamWindow*>("frm_param");
        auto* button = params->findChild<QPushButton*>("cmdCompareFiles");
        QVERIFY(button->text() == "Сравнить файлы…" &&
                button->y() > params->reportButton()->geometry().bottom());
        const QString first = f.dir.filePath("копия.ini"), second = f.dir.filePath("образец.ini");
        SaveParameterTexts(first, [](int i) { return std::optional(QString::number(i)); });
        SaveParameterTexts(second, [](int i) {
            return i == 7 ? std::nullopt : std::optional(QString::number(i == 5 ? 9 : i));
        });
        QStringList files{first, second};
        f.tool.parameters().ask_parameter_file = [&](const QString&, const QString&) {
            return files.takeFirst();
        };
        button->click();
        QCOMPARE(params->text(5) + params->text(6), "56");
        QCOMPARE(
            (QList<std::optional<BoxState>>{params->state(5), params->state(6), params->state(7)}),
            (QList<std::optional<BoxState>>{BoxState::DiffersFromFile, BoxState::MatchesFile,
                                            BoxState::MissingInFile}));
        QCOMPARE(f.journalled(JournalKind::Parameter).last(),
                 "Сравнение файлов " + QDir::toNativeSeparators(first) + " и " +
                     QDir::toNativeSeparators(second));
    }
};

QTEST_MAIN(ToolTest)
#include "test_tool.moc"

#include "app/tool_options.h"
#include "disk/ini_document.h"
#include "file_bytes.h"
#include "files/parameter_file.h"
#include "frames.h"
#include "live/number_format.h"
#include "params/param_description.h"
#include "sim_process.h"
#include "tool_session.h"
#include "traffic/traffic_monitor.h"
#include "views/param_window/param_window.h"
#include "views/scan_dialog.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTreeWidget>

#include <QtTest>
#include <csignal>
#include <ctime>
#include <random>

// The whole tool, in this process, against zarn-sim over a pseudo-terminal.
namespace {
constexpr int kTransferMs = 180000;
const QString kConnected = "Связь с контроллером ЗАРН установлена";

// A box, what the user types into it, what it shows after the round trip, and the bytes the
// controller then holds, placed by hand from the parameter table rather than the catalogue.
struct Edit {
    int box;
    QString typed, shown;
    int address = 0;
    QString bytes;
};

// The simulator with its EEPROM file, and the tool on its line, configured beside the link.
struct Line {
    SimProcess sim;
    std::unique_ptr<ToolSession> tool;

    // Through a serial device server: COM1 mapped to the simulator's TCP port.
    bool startOnTcp() {
        return sim.startOnTcp() &&
               (tool = std::make_unique<ToolSession>(sim.tcpAddress(), sim.filePath(".")))->start();
    }
    bool start(const QStringList& arguments = {}, bool fast = false) {
        if (!sim.start(QStringList{"--eeprom-file", sim.filePath("eeprom.bin")} + arguments) ||
            !(tool = std::make_unique<ToolSession>(sim.linkPath(), sim.filePath(".")))->start())
            return false;
        tool->setFast(fast);
        return true;
    }
    ParamWindow& params() { return *tool->paramWindow(); }
    bool transfer(QPushButton* button) {
        return tool->runTransfer([button] { button->click(); }, kTransferMs);
    }
    // Texts of every box, each marked with a "!" unless it is green (read from the controller).
    QStringList boxes() {
        QStringList texts;
        for (int i = 0; i < kParamCount; ++i) {
            const QRgb colour = params().box(i)->palette().color(QPalette::Base).rgb() & 0xFFFFFF;
            texts << params().text(i) + (colour == BoxStateRgb(BoxState::FromEeprom) ? "" : "!");
        }
        return texts;
    }
    // On a faulty line an answer that comes a tick late is taken for the answer to the next
    // frame, as the protocol allows: there a read that left a box not green is tried once more.
    void settle(bool faulty) {
        if (faulty && !boxes().filter("!").isEmpty())
            QVERIFY(transfer(params().readAllButton()));
    }
};

// Types the edits, the first one written alone by Enter, writes all, reads all back: every box
// green, showing what it showed or, if edited, what its row says (on a faulty line once the read
// has settled).
void RoundTrip(Line& line, const QList<Edit>& edits, bool faulty) {
    ParamWindow& w = line.params();
    QStringList expected = line.boxes();
    for (const Edit& e : edits) {
        w.box(e.box)->setText(e.typed);
        expected[e.box] = e.shown;
    }
    QLineEdit* first = w.box(edits.first().box);
    QVERIFY(
        line.tool->runTransfer([first] { QTest::keyClick(first, Qt::Key_Return); }, kTransferMs));
    QVERIFY(line.transfer(w.writeAllButton()));
    if (!faulty)
        QCOMPARE(line.boxes().filter("!"), QStringList());
    QVERIFY(line.transfer(w.readAllButton()));
    line.settle(faulty);
    QCOMPARE(line.boxes(), expected);
}
// Every size, sign and factor, and the own address.
QList<Edit> Edits(int ownAddress) {
    const QString own = QString::number(ownAddress);
    return {
        {2, "1230", "1230 ", 0x102, "7B"},
        {10, "65535", "65535 ", 0x10A, "FF FF"},
        {11, "1", "1 ", 0x11B, "01"},
        {12, "23,4", "23,4 ", 0x10C, "EA"},
        {16, "1530", "1530 ", 0x110, "FF"},
        {23, own, own + " ", 0x117, HexText(QByteArray(1, char(ownAddress)))},
        {26, "0", "0 ", 0x11F, "00"},
        {53, "-12,5", "-12,5 ", 0x710, "FF 83"},
        {54, "85.5", "85,5 ", 0x712, "03 57"},
        {69, "-40,15", "-40,2 ", 0x730, "FE 6E"},
        {328, "-10", "-10 ", 0x200, "F6"},
        {489, "-1,23", "-1,23 ", 0x242, "FF 85"},
        {493, " 1,2 ", "1,2 ", 0x247, "0C"},
        {494, "&H3FF", "1023 ", 0x248, "03 FF"},
    };
}
} // namespace

class E2eTest : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data() {
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<bool>("fast");
        const QStringList faulty{"--drop", "0.3", "--corrupt", "0.1", "--seed", "5"};
        QTest::newRow("clean line") << QStringList{} << false;
        QTest::newRow("answers lost and spoiled") << faulty << false;
        QTest::newRow("clean line, fast exchange") << QStringList{"--turnaround", "5"} << true;
        QTest::newRow("answers lost and spoiled, fast exchange") << faulty << true;
    }
    // Every size, sign and factor; the own address moves to 9 (written last, then switched to).
    void roundTrip() {
        QFETCH(QStringList, faults);
        QFETCH(bool, fast);
        const QList<Edit> edits = Edits(9);
        Line line;
        QVERIFY2(line.start(faults, fast), qPrintable(line.sim.errorText()));
        const bool faulty = faults.contains("--drop");
        QVERIFY(line.tool->runTransfer([&] { line.tool->openParamWindow(); }, kTransferMs));
        line.settle(faulty);
        QCOMPARE(line.boxes().filter("!"), QStringList());
        RoundTrip(line, edits, faulty);
        if (QTest::currentTestFailed())
            return;
        const QByteArray image = FileBytes(line.sim.filePath("eeprom.bin"));
        for (const Edit& e : edits)
            QCOMPARE(HexText(image.mid(e.address, (e.bytes.size() + 1) / 3)), e.bytes);
        QCOMPARE(line.tool->tool.window().findChild<QComboBox*>("cmb_slad")->currentText(), "9");
    }

    // The poll shows on the main window; then the line dies under the running tool (a pulled
    // adapter): no crash, no spinning, and talk again once the user picks the port anew.
    void liveLineComesAndGoes() {
        Line line;
        QVERIFY2(line.start(), qPrintable(line.sim.errorText()));
        MainWindow& main = line.tool->tool.window();
        QTRY_COMPARE_WITH_TIMEOUT(main.text(), kConnected, 5000);
        for (const auto& [name, shown] :
             {std::pair{"lbl_pr_ver", "2 .3 "}, {"lbl_sw_ver", "1 .7 "}, {"lbl_eng_rpm", "0 "}})
            QCOMPARE(main.findChild<QLabel*>(name)->text(), shown);

        // Asked on the way (SIGUSR1), the simulator tells what it took and sent, and runs on.
        const QRegularExpression counters("^zarn-sim counters: received=[1-9][0-9]* "
                                          "sent=[1-9][0-9]* dropped=0 corrupted=0 split=0\n$");
        ::kill(static_cast<pid_t>(line.sim.process().processId()), SIGUSR1);
        QVERIFY(line.sim.process().waitForReadyRead(5000));
        QVERIFY(counters.match(line.sim.process().readLine()).hasMatch());
        line.sim.process().terminate(); // the simulator ends cleanly and takes its link along
        QVERIFY(line.sim.process().waitForFinished(5000) && line.sim.process().exitCode() == 0);
        QVERIFY(counters.match(line.sim.process().readAllStandardOutput()).hasMatch());
        QVERIFY(line.sim.process().exitStatus() == 0 &&
                !QFileInfo(line.sim.linkPath()).isSymLink());
        // The hung-up line closes the port: nothing is sent, and no controller is blamed.
        QTRY_COMPARE_WITH_TIMEOUT(main.text(), "Порт не выбран", 5000);
        const std::clock_t cpuBefore = std::clock(); // a generous bound: a hang check
        ToolSession::runFor(2000);
        QVERIFY2(std::clock() - cpuBefore < CLOCKS_PER_SEC, "the tool spins on a dead line");

        SimProcess replugged;
        QVERIFY2(replugged.start(), qPrintable(replugged.errorText()));
        WriteToolConfig(line.sim.filePath("."), replugged.linkPath());
        main.findChild<QAction*>("mnu_settings")->trigger(); // the port dialog, a window of its own
        QComboBox* list = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            list = list ? list : w->findChild<QComboBox*>("cmbCOMList");
        QVERIFY(list);
        list->setCurrentIndex(list->findText("COM1"));
        emit list->activated(list->currentIndex());
        list->window()->findChild<QPushButton*>("OK")->click();
        QTRY_COMPARE_WITH_TIMEOUT(main.text(), kConnected, 5000);
    }

    // Through a serial device server (COM1 mapped to tcp://…): every parameter read, in as many
    // ticks as on a serial line. The server gone, the status line says so; back on its port, the
    // link comes back by itself.
    void overTheNetwork() {
        Line line;
        QVERIFY2(line.startOnTcp(), qPrintable(line.sim.errorText()));
        MainWindow& main = line.tool->tool.window();
        QTRY_COMPARE_WITH_TIMEOUT(main.text(), kConnected, 5000);
        const int ticksBefore = line.tool->ticks();
        QVERIFY(line.tool->runTransfer([&] { line.tool->openParamWindow(); }, kTransferMs));
        // The first tick after the click only takes the answer to the frame then in flight.
        const int ticks = line.tool->ticks() - ticksBefore - 1;
        qInfo("read-all over TCP: 59 frames in %d ticks", ticks);
        QVERIFY2(ticks <= 60, qPrintable(QString::number(ticks))); // 1.03 × 59
        QCOMPARE(line.boxes().filter("!"), QStringList());

        const QString where = line.sim.tcpAddress().mid(6);
        line.sim.process().terminate();
        QVERIFY(line.sim.process().waitForFinished(5000));
        QTRY_COMPARE_WITH_TIMEOUT(main.text(), "Нет связи с " + where + ": соединение потеряно",
                                  5000);
        SimProcess again;
        QVERIFY2(again.startOnTcp(where), qPrintable(again.errorText()));
        QTRY_COMPARE_WITH_TIMEOUT(main.text(), kConnected, 5000);
    }

    // On a line that loses and spoils answers the monitor counts exactly what the simulator did
    // (give or take the frame in flight), and its log holds the frames the simulator took.
    void trafficMatchesTheLine() {
        Line line;
        QVERIFY2(line.start({"--drop", "0.2", "--corrupt", "0.1", "--seed", "11", "--verbose"}),
                 qPrintable(line.sim.errorText()));
        TrafficMonitor& traffic = line.tool->tool.traffic();
        QVERIFY(traffic.startLog(line.sim.filePath("traffic.csv")));
        ToolSession::runFor(6000);
        ::kill(static_cast<pid_t>(line.sim.process().processId()), SIGUSR1);
        QVERIFY(line.sim.process().waitForReadyRead(5000));
        const QString counters = line.sim.process().readLine();
        const LinkStatistics figures = traffic.statistics();
        traffic.stopLog();
        const auto simCount = [&](const char* key) {
            return QRegularExpression(QString(" %1=(\\d+)").arg(key))
                .match(counters)
                .captured(1)
                .toInt();
        };
        QVERIFY2(figures.no_answer > 0 && figures.crc_mismatch > 0, qPrintable(counters));
        QVERIFY2(qAbs(figures.no_answer - simCount("dropped")) <= 1, qPrintable(counters));
        QVERIFY2(qAbs(figures.crc_mismatch - simCount("corrupted")) <= 1, qPrintable(counters));

        QStringList taken, sent;
        for (const QString& l : QString(line.sim.process().readAllStandardError()).split('\n'))
            if (l.startsWith("rx "))
                taken << l.mid(3);
        QFile log(line.sim.filePath("traffic.csv"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        for (const QString& l : QString::fromUtf8(log.readAll()).split("\r\n"))
            if (l.section(';', 1, 1) == ">")
                sent << l.section(';', 2, 2);
        QVERIFY2(taken.size() > 40 && qAbs(sent.size() - taken.size()) <= 1,
                 qPrintable(QString("%1 %2").arg(sent.size()).arg(taken.size())));
        const qsizetype both = std::min(sent.size(), taken.size());
        QCOMPARE(sent.first(both), taken.first(both));
    }

    // A start and a stop pressed on the tool, recorded and journalled through the command line's
    // files: the speed rises in the recording after the journalled start, the journal holds the
    // commands and the LEDs.
    void recordingAndJournalOfAStart_data() {
        QTest::addColumn<bool>("fast");
        QTest::newRow("tick by tick") << false;
        QTest::newRow("fast exchange") << true;
    }
    void recordingAndJournalOfAStart() {
        QFETCH(bool, fast);
        Line line;
        QVERIFY2(line.start({}, fast), qPrintable(line.sim.errorText()));
        const QString record = line.sim.filePath("запись.csv");
        const QString journal = line.sim.filePath("журнал.csv");
        ToolOptions options;
        QCOMPARE(options.read({"zarn-tool", "--record", record, "--journal", journal}), QString());
        options.applyTo(line.tool->tool, line.tool->messages);
        MainWindow& main = line.tool->tool.window();
        QTRY_COMPARE_WITH_TIMEOUT(main.text(), kConnected, 5000);
        ToolSession::runFor(1000);
        main.findChild<QPushButton*>("cmd_mode_0")->click();
        ToolSession::runFor(3000);
        main.findChild<QPushButton*>("cmd_mode_1")->click();
        ToolSession::runFor(1000);
        line.tool->tool.recorder().flush();

        QStringList events;
        QString started;
        for (const QString& l : QString::fromUtf8(FileBytes(journal)).split("\r\n")) {
            events << l.section(';', 1);
            if (events.last() == "Команда СТАРТ")
                started = l.section(';', 0, 0);
        }
        // Times of one format compare as text: the speed rose only after the start was sent.
        QStringList recorded = QString::fromUtf8(FileBytes(record)).split("\r\n").mid(1);
        recorded.removeAll("");
        const auto risen = std::find_if(recorded.begin(), recorded.end(), [](const QString& l) {
            return l.section(';', 1, 1).toInt() > 100;
        });
        QVERIFY2(recorded.size() >= 20 && recorded.first().section(';', 1, 1).toInt() == 0 &&
                     !started.isEmpty() && risen != recorded.end() &&
                     risen->section(';', 0, 0) > started,
                 qPrintable(started + " / " + recorded.join('\n')));
        for (const char* expected :
             {"Связь установлена", "«Готов»: вкл", "Команда СТАРТ", "«Работа»: вкл",
              "«Готов»: выкл", "Команда СТОП", "«Двиг. ост.»: вкл"})
            QVERIFY2(events.contains(QString::fromUtf8(expected)), expected);
        QVERIFY(events.indexOf("Команда СТАРТ") < events.indexOf("«Работа»: вкл"));
    }

    // Three controllers on one line: the scan finds each as it answers and nothing else, in
    // about one tick an address, while the main window stays on address 7 and the journal
    // takes no answer of theirs for its; then each one chosen shows its own parameters.
    void scanFindsAndSwitches() {
        Line line;
        QVERIFY2(line.start({"--address", "7", "--address", "12", "--address", "30",
                             "--object-type", "12=1"}),
                 qPrintable(line.sim.errorText()));
        MainWindow& main = line.tool->tool.window();
        QTRY_COMPARE_WITH_TIMEOUT(main.text(), kConnected, 5000);
        main.findChild<QAction*>("mnu_scan")->trigger();
        auto* dialog = main.findChild<ScanDialog*>("frm_scan");
        QVERIFY(dialog && dialog->isVisible());
        const int ticksBefore = line.tool->ticks();
        auto* again = dialog->findChild<QPushButton*>("cmd_scan_again");
        QTRY_VERIFY_WITH_TIMEOUT(again->isEnabled(), 30000);
        const int ticks = line.tool->ticks() - ticksBefore;
        qInfo("scan of 127 addresses: %d ticks", ticks);
        QVERIFY2(ticks <= 127 * 105 / 100, qPrintable(QString::number(ticks)));
        auto* found = dialog->findChild<QTreeWidget*>("lst_found");
        QStringList rows;
        for (int i = 0; i < found->topLevelItemCount(); ++i)
            rows << found->topLevelItem(i)->text(0) + " " + found->topLevelItem(i)->text(1) + " " +
                        found->topLevelItem(i)->text(2) + " " + found->topLevelItem(i)->text(3);
        QCOMPARE(rows, (QStringList{"7 ДГУ 1.7 2.3", "12 ДРА 1.7 2.3", "30 ДГУ 1.7 2.3"}));
        auto* slad = main.findChild<QComboBox*>("cmb_slad");
        QCOMPARE(slad->currentText(), "7");
        QStringList journal;
        for (const JournalEntry& entry : line.tool->tool.recorder().journal().entries())
            journal << entry.text;
        const qsizetype begun = journal.indexOf("Поиск контроллеров на линии");
        QVERIFY2(begun >= 0 && journal.mid(begun).filter("Связь").isEmpty() &&
                     journal.contains("Поиск контроллеров окончен: найдено 3 контроллера "
                                      "(адреса 7, 12, 30)") &&
                     journal.filter(QRegularExpression("^Найден контроллер: адрес 12, ДРА, "
                                                       "версия ПО 1.7, версия протокола 2.3, "
                                                       "общая наработка \\d+ мч$"))
                             .size() == 1,
                 qPrintable(journal.join('\n')));

        auto* choose = dialog->findChild<QPushButton*>("cmd_scan_choose");
        for (int i : {1, 2, 0}) {
            found->setCurrentItem(found->topLevelItem(i));
            choose->click();
            const QString address = found->topLevelItem(i)->text(0);
            QCOMPARE(slad->currentText(), address);
            QVERIFY(
                line.tool->paramWindow()
                    ? line.transfer(line.params().readAllButton())
                    : line.tool->runTransfer([&] { line.tool->openParamWindow(); }, kTransferMs));
            QCOMPARE(line.params().text(kOwnAddressParam).trimmed(), address);
            QTRY_COMPARE_WITH_TIMEOUT(main.findChild<QLabel*>("lbl_object")->text(),
                                      found->topLevelItem(i)->text(1), 5000);
        }

        // Closed while it runs, the scan stops where it got to.
        again->click();
        ToolSession::runFor(1000);
        dialog->findChild<QPushButton*>("cmd_scan_close")->click();
        QTRY_VERIFY_WITH_TIMEOUT(again->isEnabled(), 5000);
        QStringList ends;
        for (const JournalEntry& entry : line.tool->tool.recorder().journal().entries())
            if (entry.text.startsWith("Поиск контроллеров о"))
                ends << entry.text.section(':', 0, 0).section(' ', 0, 3);
        QCOMPARE(ends,
                 (QStringList{"Поиск контроллеров окончен", "Поиск контроллеров остановлен на"}));
    }

    // A write-all first backs up what the controller held (its memory, through the catalogue),
    // then reads everything back: the one parameter the controller limits turns light red and
    // is named, the others stay green.
    void writeAllBacksUpAndChecks_data() {
        QTest::addColumn<bool>("fast");
        QTest::newRow("tick by tick") << false;
        QTest::newRow("fast exchange") << true;
    }
    void writeAllBacksUpAndChecks() {
        QFETCH(bool, fast);
        const ParamCatalogue& catalogue = Catalogue();
        int limited = 0;
        while (catalogue.param_size[limited] != 2 || catalogue.param_scale[limited] != 1)
            ++limited;
        Line line;
        QVERIFY2(line.start({"--clamp", QString("%1=60000").arg(limited)}, fast),
                 qPrintable(line.sim.errorText()));
        QVERIFY(line.tool->runTransfer([&] { line.tool->openParamWindow(); }, kTransferMs));
        // While the check reads back, the window says so; the verdict clears it.
        const auto writeAllChecked = [&] {
            const qsizetype boxes = line.tool->messages.shown.size();
            QVERIFY(line.transfer(line.params().writeAllButton()));
            const auto* progress = line.params().findChild<QLabel*>("transfer_text");
            QVERIFY(progress && progress->isVisible());
            QVERIFY2(progress->text().startsWith("Проверка записи: 0 из 59 запросов"),
                     qPrintable(progress->text()));
            QTRY_VERIFY_WITH_TIMEOUT(line.tool->messages.shown.size() > boxes, kTransferMs);
            QCOMPARE(line.tool->messages.shown.last().title, QString("Проверка записи"));
            QVERIFY(!progress->isVisible());
        };
        writeAllChecked(); // the simulator's memory file exists from here on
        QCOMPARE(line.tool->messages.shown.last().text,
                 QString("Проверка записи: все 506 параметров записаны верно"));
        const QByteArray memory = FileBytes(line.sim.filePath("eeprom.bin"));

        line.params().setText(limited, "61000");
        writeAllChecked();
        QCOMPARE(line.tool->messages.shown.last().text,
                 QString("Проверка записи: не совпал 1 параметр\r\n%1 «%2»: записано 61000, "
                         "сохранено 60000")
                     .arg(limited)
                     .arg(ParamDescription(limited)));
        const QStringList marks = line.boxes();
        QCOMPARE(marks.filter("!"), QStringList{"60000 !"});
        QCOMPARE(line.params().box(limited)->palette().color(QPalette::Base).rgb() & 0xFFFFFF,
                 BoxStateRgb(BoxState::NotStored));

        QStringList backups = QDir(line.sim.filePath("backups")).entryList({"*.ini"});
        QCOMPARE(backups.size(), 2);
        QVERIFY(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d_ДГУ_адрес7\\.ini$")
                    .match(backups.last())
                    .hasMatch());
        IniDocument backup;
        backup.load(line.sim.filePath("backups/" + backups.last()));
        for (int i = 0; i < kParamCount; ++i) {
            std::int64_t held = 0;
            for (int k = 0; k < catalogue.param_size[i]; ++k)
                held = held * 256 + std::uint8_t(memory[catalogue.param_address[i] + k]);
            const std::int64_t span = std::int64_t{1} << (8 * catalogue.param_size[i]);
            if (catalogue.param_scale[i] < 0 && held >= span / 2)
                held -= span;
            QCOMPARE(
                backup.value(ParamFileSection(), ParamFileKey(i), "none"),
                FormatScaled(held, 3, std::fabs(catalogue.param_scale[i]), {}, u',').trimmed());
        }
    }

    // The long mode (make soak): the round trip, other values each round, on a line that also
    // splits answers, again and again for SOAK_SECONDS (the soak script watches the memory);
    // every other round with the fast exchange.
    void soak() {
        const int seconds = qEnvironmentVariableIntValue("SOAK_SECONDS");
        if (seconds <= 0)
            QSKIP("runs when SOAK_SECONDS is set (make soak)");
        const std::uint32_t seed =
            qEnvironmentVariable("SOAK_SEED", QString::number(std::random_device()())).toUInt();
        qInfo("soak: %d s, seed %u", seconds, seed);
        Line line;
        QVERIFY2(line.start({"--drop", "0.3", "--corrupt", "0.1", "--split", "0.05", "--seed",
                             QString::number(seed)}),
                 qPrintable(line.sim.errorText()));
        QVERIFY(line.tool->runTransfer([&] { line.tool->openParamWindow(); }, kTransferMs));
        line.settle(true);
        QElapsedTimer clock;
        clock.start();
        for (int round = 1; clock.elapsed() < seconds * 1000LL; ++round) {
            // Each round moves the own address and writes other values than the round before.
            QList<Edit> edits = Edits(round % 2 ? 9 : 7);
            if (round % 2 == 0)
                for (Edit& e : edits)
                    e.typed = e.shown = e.box == 23 ? e.shown : "0 ";
            line.tool->setFast(round % 2 == 0);
            RoundTrip(line, edits, true);
            if (QTest::currentTestFailed())
                return;
            qInfo("round %d%s: %.0f s, slave address %d, %d answered frames, %d ticks", round,
                  round % 2 == 0 ? " (fast)" : "", clock.elapsed() / 1000.0,
                  line.tool->tool.window().slaveAddress(), line.tool->answeredFrames(),
                  line.tool->ticks());
        }
    }
};

QTEST_MAIN(E2eTest)
#include "test_e2e.moc"

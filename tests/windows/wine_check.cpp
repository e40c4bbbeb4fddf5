// The Windows tool under Wine, against zarn-sim on COM1: the whole tool in this process, built as
// main() builds it on the real Windows line, and used as an engineer would. One line per step,
// "ok" or "FAIL", then the figures; the exit status is the number of failed steps.
// Usage: zarn-wine-check.exe WORK_FOLDER SIM_EEPROM_FILE [SCREENSHOT_FOLDER]

#include "params/box_state.h"
#include "tool_session.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <cstdio>

namespace {
constexpr int kTransferMs = 120000;
int failed_steps = 0;

void Say(const QString& line) {
    std::fputs(line.toUtf8().append('\n').constData(), stdout);
    std::fflush(stdout);
}

bool Step(bool held, const QString& step, const QString& detail = {}) {
    Say((held ? "ok   " : "FAIL ") + step + (detail.isEmpty() ? "" : " — " + detail));
    failed_steps += held ? 0 : 1;
    return held;
}

// Runs the tool until `done` or `ms` have passed; whether it came.
bool RunUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < ms)
        ToolSession::runFor(50);
    return done();
}

// Boxes whose colour is not `state`'s, as "index:text".
QStringList BoxesNotIn(ParamWindow& params, BoxState state) {
    QStringList others;
    for (int i = 0; i < kParamCount; ++i)
        if ((params.box(i)->palette().color(QPalette::Base).rgb() & 0xFFFFFF) != BoxStateRgb(state))
            others << QString("%1:%2").arg(i).arg(params.text(i));
    return others;
}

// The screen as Wine shows it, for the guide.
void Shoot(const QString& folder, const QString& name) {
    if (folder.isEmpty())
        return;
    ToolSession::runFor(1000); // drawn and settled
    const QString path = folder + '/' + name;
    Step(QGuiApplication::primaryScreen()->grabWindow(0).save(path), "screenshot " + name);
}

QByteArray Bytes(const QString& path, int at, int count) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().mid(at, count) : QByteArray();
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 3) {
        Say("usage: zarn-wine-check WORK_FOLDER SIM_EEPROM_FILE [SCREENSHOT_FOLDER]");
        return 2;
    }
    const QString folder = arguments[1], eeprom = arguments[2], shots = arguments.value(3);

    ToolSession session(QString(), folder);
    if (!Step(session.start(), "the tool opens COM1"))
        return failed_steps;
    MainWindow& main = session.tool.window();
    Step(RunUntil([&] { return main.text() == "Связь с контроллером ЗАРН установлена"; }, 5000),
         "the controller answers", main.text());
    const QString version = main.findChild<QLabel*>("lbl_pr_ver")->text();
    Step(version == "2 .3 ", "the poll shows the program version", version);

    // The poll alternates with the transaction frame: 5 polls a second at 10 frames a second.
    const int before = session.answeredFrames();
    QElapsedTimer clock;
    clock.start();
    ToolSession::runFor(10000);
    const double pollsPerSecond =
        (session.answeredFrames() - before) / 2.0 / (clock.elapsed() / 1000.0);
    Step(pollsPerSecond >= 4.5, "polls a second", QString::number(pollsPerSecond, 'f', 2));
    Shoot(shots, "wine-main-window.png");

    const int ticksBefore = session.ticks();
    clock.restart();
    const bool read = session.runTransfer([&] { session.openParamWindow(); }, kTransferMs);
    const qint64 readMs = clock.elapsed();
    const int readTicks = session.ticks() - ticksBefore;
    ParamWindow& params = *session.paramWindow();
    Step(read && BoxesNotIn(params, BoxState::FromEeprom).isEmpty(), "read all: every box green",
         BoxesNotIn(params, BoxState::FromEeprom).mid(0, 5).join(' '));
    Shoot(shots, "wine-param-window.png");

    // Values of one and of two bytes, placed by hand from the parameter table.
    params.box(2)->setText("1230");
    params.box(10)->setText("65535");
    const qsizetype shown = session.messages.shown.size();
    Step(session.runTransfer([&] { params.writeAllButton()->click(); }, kTransferMs) &&
             RunUntil([&] { return session.messages.shown.size() > shown; }, kTransferMs),
         "write all, checked", session.messages.shown.value(shown).text);
    Step(session.messages.shown.value(shown).text ==
             "Проверка записи: все 506 параметров записаны верно",
         "the check's verdict");
    Step(Bytes(eeprom, 0x102, 1).toHex(' ') == "7b" &&
             Bytes(eeprom, 0x10A, 2).toHex(' ') == "ff ff",
         "the simulator's EEPROM holds the written bytes",
         Bytes(eeprom, 0x102, 1).toHex(' ') + " / " + Bytes(eeprom, 0x10A, 2).toHex(' '));

    params.findChild<QLineEdit*>("Text3")->setText("wine-check.ini");
    params.saveFileButton()->click();
    Step(QFile::exists(folder + "/wine-check.ini") &&
             BoxesNotIn(params, BoxState::FromFile).isEmpty(),
         "save to a parameter file");
    params.box(2)->setText("1111");
    params.compareButton()->click();
    const QStringList differing = BoxesNotIn(params, BoxState::MatchesFile);
    Step(differing == QStringList{"2:1111"}, "compare with the file: one box differs",
         differing.mid(0, 5).join(' '));

    Say(QString("figure poll_per_second %1").arg(pollsPerSecond, 0, 'f', 2));
    Say(QString("figure read_all_ms %1 ticks %2").arg(readMs).arg(readTicks));
    return failed_steps;
}

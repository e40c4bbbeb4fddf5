#include "app/batch_run.h"

#include "app/batch_compare.h"
#include "app/operation_journal.h"
#include "config/chosen_line.h"
#include "config/com_port_map.h"
#include "config/config_file.h"
#include "files/param_report_pdf.h"
#include "files/parameter_backup.h"
#include "files/parameter_file.h"
#include "live/controller_scan.h"
#include "params/param_requests.h"
#include "params/param_transfers.h"
#include "params/write_check_sequence.h"
#include "text/file_failure.h"
#include "text/russian_count.h"

#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>
#include <utility>

namespace {
constexpr int kTickMs = 100;
// Looked at often while connecting, so a script's run waits no longer than the network does.
constexpr int kConnectionLookMs = 10;
} // namespace

BatchRun::BatchRun(const BatchJob& job, ChosenLine& line, QString portName, BatchConsole& console,
                   QChar decimalSeparator)
    : job(job), line(line), port_name(std::move(portName)), console(console),
      decimal_separator(decimalSeparator), traffic(catalogue, decimalSeparator),
      session(decimalSeparator), poll(decimalSeparator), cycle(line, console, poll),
      answers(cycle, catalogue, decimalSeparator, image) {
    cycle.setFast(job.fast);
    cycle.on_event = [this](const LinkEvent& event) {
        traffic.take(event);
        session.takeLinkEvent(event);
    };
    QObject::connect(&traffic, &TrafficMonitor::logFailed, [&console](const QString& error) {
        console.tell(QStringLiteral("Обмен больше не записывается в файл: ") + error);
    });
    QObject::connect(&session, &SessionRecorder::journalFailed, [&console](const QString& error) {
        console.tell(QStringLiteral("Журнал событий не записывается в файл: ") + error);
    });
    answers.showIn(&controller_boxes);
    poll.show_poll = [this](const PollPicture& picture) { panel.take(picture); };
}

BatchExit BatchRun::run() {
    // A file named for the session that cannot be written is a bad argument, told before the
    // controller is disturbed.
    if (const QStringList failures = OpenSessionFiles(job.files, traffic, session);
        !failures.isEmpty()) {
        for (const QString& failure : failures)
            console.tell(QStringLiteral("Невозможно открыть для записи ") + failure);
        return BatchExit::BadInput;
    }
    journal(QStringLiteral("Пакетный режим: %1, адрес %2").arg(port_name).arg(job.address));
    const BatchExit outcome = runCommand();
    session.flush();
    traffic.flushLog();
    return outcome;
}

BatchExit BatchRun::runCommand() {
    switch (job.command) {
    case BatchCommand::Read:
        return read();
    case BatchCommand::Write:
        return write();
    case BatchCommand::Compare:
        return compare();
    case BatchCommand::Scan:
        return scan();
    case BatchCommand::CompareFiles: // run without a line, by RunBatch
    case BatchCommand::Report:
        break;
    }
    return report();
}

bool BatchRun::openPort() {
    OpenOutcome outcome = OpenOutcome::NotAvailable;
    if (line.choose(*job.port))
        outcome = line.open();
    if (outcome == OpenOutcome::Opened)
        return connected();
    // The dialog's advice to pick another port does not apply here.
    console.tell(port_text::kOpenErrorTitle + QStringLiteral(": ") +
                 port_text::OpenFailure(*job.port, outcome).section(QStringLiteral("\r\n"), 0, 0));
    return false;
}

bool BatchRun::connected() {
    // A network line connects in the background; a script wants to know at once why not.
    QEventLoop loop;
    QTimer look;
    look.setInterval(kConnectionLookMs);
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (line.state() != LineState::Connecting)
            loop.quit();
    });
    if (line.state() == LineState::Connecting) {
        look.start();
        loop.exec();
    }
    if (line.state() == LineState::Carrying)
        return true;
    console.tell(port_text::kOpenErrorTitle + QStringLiteral(": ") + line.stateText());
    return false;
}

BatchExit BatchRun::read() {
    if (!openPort())
        return BatchExit::NoAnswer;
    if (const BatchExit outcome = readAll(false); outcome != BatchExit::Done)
        return outcome;
    const QFileInfo file(job.file);
    if (const QString reason = WriteBackup(file.absolutePath(), file.fileName(), image);
        !reason.isEmpty()) {
        console.tell(QStringLiteral("Параметры не сохранены в файл ") +
                     FileFailure(job.file, reason));
        return BatchExit::BadInput;
    }
    console.tell(QStringLiteral("Параметры сохранены в файл %1").arg(job.file));
    journal(operation_text::kSavedToFile + QDir::toNativeSeparators(file.absoluteFilePath()));
    return BatchExit::Done;
}

BatchExit BatchRun::write() {
    MemoryParamBoxes wanted;
    const QFileInfo file(job.file);
    if (!ReadableInBatch(job.file, console) ||
        !ReadParameterFile({wanted, console, console}, file.absolutePath(), file.fileName()))
        return BatchExit::BadInput;
    // Refused before the controller is disturbed; the transfer's own refusal stands behind it.
    const ParamTransfers transfers{cycle, answers, catalogue, wanted, console};
    if (const int missing = transfers.boxesWithoutValue()) {
        console.tell(QStringLiteral("В файле %1 нет значений %2 из %3: запись не начата")
                         .arg(job.file, CountOf(missing, nouns::kOfParameter))
                         .arg(kParamCount));
        return BatchExit::BadInput;
    }
    // The window's write-all sends such values limited or as 0, as the user sees them typed;
    // a script has nobody looking, so the whole file is refused.
    if (const QList<int> refused = NotWritableAsGiven(catalogue, wanted); !refused.isEmpty()) {
        console.tell(QStringLiteral("В файле %1 значения параметров %2 не числа или не "
                                    "помещаются в параметр: запись не начата")
                         .arg(job.file, ParamNumberList(refused)));
        return BatchExit::BadInput;
    }
    if (!openPort())
        return BatchExit::NoAnswer;
    if (const BatchExit outcome = readAll(true); outcome != BatchExit::Done)
        return outcome;

    const StoredValues expected = ExpectedAfterWriteAll(catalogue, wanted);
    const int waitingBefore = cycle.waiting();
    QString backup;
    if (!transfers.writeAll([&] {
            BackupWatch watch;
            watch.told = [this](const QString& text) { journal(text); };
            backup = BackUpBeforeWriteAll(image, console, job.backup_folder, panel.object_type,
                                          console.slaveAddress(), watch);
            return !backup.isEmpty();
        }))
        return BatchExit::BadInput;
    console.tell(QStringLiteral("Резервная копия: %1").arg(backup));
    journal(QStringLiteral("Запись всех параметров из файла ") +
            QDir::toNativeSeparators(file.absoluteFilePath()));
    console.tell(QStringLiteral("Запись всех параметров: ") +
                 CountOf(cycle.waiting() - waitingBefore, nouns::kRequest));
    TransferProgress progress;
    WriteCheckSequence check(cycle, answers, catalogue, image, progress);
    check.begin(expected, cycle.waiting() - waitingBefore);
    WriteCheckTurn turn = WriteCheckTurn::Waiting;
    runTicks(shown(progress), [&] {
        turn = check.follow();
        if (turn == WriteCheckTurn::ReadingBack)
            console.tell(QStringLiteral("Проверка записи: чтение всех параметров"));
        return turn == WriteCheckTurn::Compared || turn == WriteCheckTurn::NoAnswer;
    });
    if (turn == WriteCheckTurn::NoAnswer) {
        tellSilence();
        return BatchExit::NoAnswer;
    }
    for (const QString& line : check.verdict(decimal_separator)) {
        console.tell(line);
        journal(line);
    }
    return check.notStored().isEmpty() ? BatchExit::Done : BatchExit::Differs;
}

BatchExit BatchRun::compare() {
    MemoryParamBoxes unread;
    const QFileInfo file(job.file);
    // The file is tried before the controller is disturbed.
    if (!ReadableInBatch(job.file, console) ||
        !ReadParameterFile({unread, console, console}, file.absolutePath(), file.fileName()))
        return BatchExit::BadInput;
    if (!openPort())
        return BatchExit::NoAnswer;
    if (const BatchExit outcome = readAll(false); outcome != BatchExit::Done)
        return outcome;
    const std::optional<ComparedFile> compared = CompareParameterFile(
        {controller_boxes, console, console}, file.absolutePath(), file.fileName());
    if (!compared)
        return BatchExit::BadInput;
    journal(operation_text::kComparedWithFile + QDir::toNativeSeparators(file.absoluteFilePath()));
    return PrintDifferences(console, controller_boxes, *compared,
                            QStringLiteral("совпадают с файлом"),
                            QStringLiteral("отличаются от файла"));
}

BatchExit BatchRun::report() {
    if (!openPort())
        return BatchExit::NoAnswer;
    if (const BatchExit outcome = readAll(true); outcome != BatchExit::Done)
        return outcome;
    const ReportHeading heading{QDateTime::currentDateTime(), panel, console.slaveAddress(),
                                port_name};
    if (const QString error = WriteParamReport(
            MakeParamReport(heading, controller_boxes, std::nullopt, {}), job.file);
        !error.isEmpty()) {
        console.tell(QStringLiteral("Отчёт не сохранён в файл ") + FileFailure(job.file, error));
        return BatchExit::BadInput;
    }
    console.tell(QStringLiteral("Отчёт сохранён в файл %1").arg(job.file));
    journal(operation_text::kReportToFile +
            QDir::toNativeSeparators(QFileInfo(job.file).absoluteFilePath()));
    return BatchExit::Done;
}

BatchExit BatchRun::readAll(bool withPoll) {
    RequestBatch requests = AnsweredBy(ReadAllRequests(catalogue), answers);
    if (withPoll)
        requests.insert(requests.begin(), AnsweredBy(PollRequest(), poll));
    console.tell(QStringLiteral("Чтение всех параметров: ") +
                 CountOf(static_cast<long long>(requests.size()), nouns::kRequest));
    if (!cycle.queueAll(requests))
        return BatchExit::NoAnswer;
    journal(TransferName(TransferStep::Reading));
    if (!awaitAnswers(TransferStep::Reading, static_cast<int>(requests.size())))
        return BatchExit::NoAnswer;
    if (const int missing = image.missing()) {
        console.tell(QStringLiteral("Контроллер не сообщил значения %1 из %2")
                         .arg(CountOf(missing, nouns::kOfParameter))
                         .arg(kParamCount));
        return BatchExit::NoAnswer;
    }
    return BatchExit::Done;
}

bool BatchRun::awaitAnswers(TransferStep step, int frames) {
    TransferProgress progress;
    progress.begin(step, cycle, frames);
    AnswerSilence silence;
    silence.restart(cycle);
    bool silent = false;
    runTicks(shown(progress),
             [&] { return !progress.now(cycle) || (silent = silence.expired(cycle)); });
    if (silent)
        tellSilence();
    return !silent;
}

BatchExit BatchRun::scan() {
    if (!openPort())
        return BatchExit::NoAnswer;
    ControllerScan scan(cycle, decimal_separator);
    scan.on_found = [this](const FoundController& controller) {
        console.result(FoundLine(controller));
        session.note(JournalKind::Link, FoundText(controller));
    };
    session.note(JournalKind::Link, ScanBeginText());
    session.holdLink(true);
    if (scan.begin())
        runTicks([&] { return ScanProgressText(scan); },
                 [&] {
                     // A line gone (an adapter pulled) ends the scan where it got to.
                     if (!line.isOpen())
                         return true;
                     scan.follow();
                     return scan.over();
                 });
    session.holdLink(false);
    console.tell(ScanEndText(scan));
    session.note(JournalKind::Link, ScanEndText(scan));
    return scan.found().empty() ? BatchExit::NoAnswer : BatchExit::Done;
}

std::function<QString()> BatchRun::shown(const TransferProgress& progress) const {
    return [this, &progress] {
        const std::optional<TransferState> state = progress.now(cycle);
        return state ? TransferText(*state) : QString();
    };
}

void BatchRun::runTicks(const std::function<QString()>& progress,
                        const std::function<bool()>& through) {
    QEventLoop loop;
    QTimer timer1;
    timer1.setInterval(kTickMs);
    QObject::connect(&timer1, &QTimer::timeout, &loop, [&] {
        cycle.ExchangeTick();
        session.checkLink();
        const bool done = through();
        console.showTransfer(progress());
        if (done)
            loop.quit();
    });
    timer1.start();
    loop.exec();
    console.showTransfer({});
}

void BatchRun::tellSilence() {
    console.tell(QStringLiteral("Нет ответа от контроллера ЗАРН (%1, адрес %2) в течение %3 с")
                     .arg(LineName(*job.port))
                     .arg(console.slaveAddress())
                     .arg(AnswerSilence::kSilenceMs / 1000));
}

void BatchRun::journal(const QString& text) {
    session.note(JournalKind::Parameter, text);
}

BatchExit RunBatch(BatchJob job, const QString& configPath) {
    BatchConsole console(job.address);
    if (job.command == BatchCommand::CompareFiles)
        return CompareFilesInBatch(job, console);
    if (!job.port) {
        ConfigFile config(configPath, console, console);
        config.LoadConfig();
        job.port = config.lineAddress();
    }
    ChosenLine line(LinesOfThisMachine(configPath));
    BatchRun batch(job, line, ComPortName(configPath, *job.port), console,
                   QLocale::system().decimalPoint().front());
    const BatchExit outcome = batch.run();
    line.close();
    return outcome;
}

#include "app/param_editor.h"

#include "app/operation_journal.h"
#include "files/param_report_pdf.h"
#include "files/parameter_backup.h"
#include "files/parameter_file.h"
#include "params/param_requests.h"
#include "views/file_location_picker.h"
#include "views/param_window/param_window.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <utility>

ParamEditor::ParamEditor(ExchangeCycle& cycle, LinkHost& host, MessageBoxService& messages,
                         QChar decimalSeparator, QString pickerFolder, QWidget* owner)
    : cycle(cycle), host(host), messages(messages), decimal_separator(decimalSeparator),
      picker_folder(std::move(pickerFolder)), owner(owner),
      answers(cycle, catalogue, decimalSeparator, image) {
    answers.checkEchoes(echo_check, [this](const QString& text) { emit performed(text); });
}

ParamEditor::~ParamEditor() = default;

ParamWindow* ParamEditor::window() const {
    return frm_param;
}

void ParamEditor::open() {
    ParamWindow& window = ensureWindow();
    readAll(false);
    window.show();
    window.raise();
    window.activateWindow();
}

void ParamEditor::setModbusBlocked(bool blocked) {
    modbus_blocked = blocked;
    if (frm_param)
        frm_param->setModbusBlocked(blocked);
}

// A closed window comes back as a new one, as it was first loaded: boxes showing values of
// another controller, or of the same one before it was stopped, would be taken for what the
// controller holds now. Only its place and size are kept.
ParamWindow& ParamEditor::ensureWindow() {
    if (frm_param && frm_param->isVisible())
        return *frm_param;
    QByteArray geometry;
    if (frm_param) {
        geometry = frm_param->saveGeometry();
        delete frm_param;
    }
    frm_param = new ParamWindow(owner, picker_folder);
    answers.showIn(frm_param);
    connect(frm_param, &QObject::destroyed, this, [this] { answers.showIn(nullptr); });
    if (!geometry.isEmpty())
        frm_param->restoreGeometry(geometry);
    frm_param->setModbusBlocked(modbus_blocked);
    connect(frm_param, &ParamWindow::enterPressed, this, [this](int index) {
        if (!transfers().writeOne(index))
            return;
        const QString typed = frm_param->text(index).trimmed();
        echo_check.sent(cycle.answered() + cycle.waiting(), index,
                        WrittenValue(index, catalogue, *frm_param), typed);
        emit performed(QStringLiteral("Запись параметра %1: %2").arg(index).arg(typed));
    });
    connect(frm_param->readAllButton(), &QPushButton::clicked, this, [this] { readAll(true); });
    connect(frm_param->writeAllButton(), &QPushButton::clicked, this, &ParamEditor::writeAll);
    connect(frm_param->saveFileButton(), &QPushButton::clicked, this, &ParamEditor::saveFile);
    connect(frm_param->readFileButton(), &QPushButton::clicked, this, &ParamEditor::readFile);
    connect(frm_param->compareButton(), &QPushButton::clicked, this, &ParamEditor::compareFile);
    connect(frm_param->reportButton(), &QPushButton::clicked, this, &ParamEditor::writeReport);
    connect(frm_param->compareFilesButton(), &QPushButton::clicked, this,
            &ParamEditor::compareFiles);
    return *frm_param;
}

ParamTransfers ParamEditor::transfers() {
    return {cycle, answers, catalogue, *frm_param, messages};
}

void ParamEditor::readAll(bool whiten) {
    const int waitingBefore = cycle.waiting();
    if (!transfers().readAll(whiten))
        return;
    progress.begin(TransferStep::Reading, cycle, cycle.waiting() - waitingBefore);
    emit performed(TransferName(TransferStep::Reading));
}

void ParamEditor::writeAll() {
    const StoredValues sent = ExpectedAfterWriteAll(catalogue, *frm_param);
    const int waitingBefore = cycle.waiting();
    if (!transfers().writeAll([this] { return backUp(); }))
        return;
    write_check.begin(sent, cycle.waiting() - waitingBefore);
    emit performed(TransferName(TransferStep::Writing));
}

bool ParamEditor::backUp() {
    BackupWatch watch;
    if (backup_clock)
        watch.now = backup_clock;
    watch.told = [this](const QString& text) { emit performed(text); };
    return !BackUpBeforeWriteAll(image, messages, backup_folder, object_type, host.slaveAddress(),
                                 watch)
                .isEmpty();
}

void ParamEditor::forgetController() {
    image.clear();
    if (!write_check.stop())
        return;
    emit performed(QStringLiteral("Проверка записи прервана: выбран другой порт или адрес"));
}

void ParamEditor::followTransfers() {
    switch (write_check.follow()) {
    case WriteCheckTurn::Compared:
        finishWriteCheck();
        return;
    case WriteCheckTurn::NoAnswer:
        endWriteCheck(MessageIcon::Warning,
                      {QStringLiteral("Проверка записи прервана: нет ответа от контроллера")});
        return;
    case WriteCheckTurn::Idle:
    case WriteCheckTurn::Waiting:
    case WriteCheckTurn::ReadingBack:
        break;
    }
    showProgress();
}

void ParamEditor::showProgress() {
    if (!frm_param)
        return;
    if (const std::optional<TransferState> state = progress.now(cycle))
        frm_param->showTransfer(TransferText(*state), state->done, state->total);
    else
        frm_param->showTransfer({}, 0, 0);
}

void ParamEditor::finishWriteCheck() {
    const QList<int>& notStored = write_check.notStored();
    not_stored_written.clear();
    for (int i : notStored) {
        not_stored_written[i] =
            WrittenText(i, write_check.expected(), catalogue, decimal_separator);
        if (frm_param)
            frm_param->setState(i, BoxState::NotStored);
    }
    endWriteCheck(notStored.isEmpty() ? MessageIcon::Information : MessageIcon::Warning,
                  write_check.verdict(decimal_separator));
}

void ParamEditor::endWriteCheck(MessageIcon icon, const QStringList& lines) {
    for (const QString& line : lines)
        emit performed(line);
    // The verdict stays open until the user reads it: the progress has ended by then.
    showProgress();
    messages.ask(icon, TransferName(TransferStep::Checking), lines.join(QStringLiteral("\r\n")),
                 MessageButtons::Ok);
}

QString ParamEditor::chosenFilePath() const {
    const FileLocationPicker* picker = frm_param->filePicker();
    return QDir::toNativeSeparators(ParamFilePath(picker->currentFolder(), picker->fileName()));
}

void ParamEditor::saveFile() {
    FileLocationPicker* picker = frm_param->filePicker();
    if (SaveParameterFile({*frm_param, host, messages}, picker->currentFolder(), picker->fileName(),
                          [picker] { picker->refreshFiles(); }))
        emit performed(operation_text::kSavedToFile + chosenFilePath());
}

void ParamEditor::readFile() {
    const FileLocationPicker* picker = frm_param->filePicker();
    if (ReadParameterFile({*frm_param, host, messages}, picker->currentFolder(),
                          picker->fileName()))
        emit performed(QStringLiteral("Чтение из файла ") + chosenFilePath());
}

void ParamEditor::compareFile() {
    const FileLocationPicker* picker = frm_param->filePicker();
    std::optional<ComparedFile> compared = CompareParameterFile(
        {*frm_param, host, messages}, picker->currentFolder(), picker->fileName());
    if (!compared)
        return;
    last_compare = std::move(compared);
    emit performed(operation_text::kComparedWithFile + chosenFilePath());
}

// The first file's values in the boxes, coloured by the second's: a backup against a reference,
// with no controller needed.
void ParamEditor::compareFiles() {
    const auto ask = [this](const QString& title, const QString& folder) {
        return ask_parameter_file ? ask_parameter_file(title, folder)
                                  : QFileDialog::getOpenFileName(frm_param, title, folder);
    };
    const QString folder = frm_param->filePicker()->currentFolder();
    const QString first =
        ask(QStringLiteral("Сравнить файлы: первый файл (его значения в окне)"), folder);
    if (first.isEmpty())
        return;
    const QString second = ask(QStringLiteral("Сравнить файлы: второй файл (с ним сравнивается "
                                              "первый)"),
                               QFileInfo(first).absolutePath());
    if (second.isEmpty())
        return;
    std::optional<ComparedFile> compared =
        CompareParameterFiles({*frm_param, host, messages}, first, second);
    if (!compared)
        return;
    last_compare = std::move(compared);
    emit performed(operation_text::kComparedFiles + QDir::toNativeSeparators(first) +
                   operation_text::kAnd + QDir::toNativeSeparators(second));
}

void ParamEditor::writeReport() {
    FileLocationPicker* picker = frm_param->filePicker();
    const ReportHeading heading = report_heading ? report_heading() : ReportHeading{};
    if (!SaveParamReport(host, messages,
                         MakeParamReport(heading, *frm_param, last_compare, not_stored_written),
                         picker->currentFolder(), picker->fileName()))
        return;
    picker->refreshFiles();
    emit performed(operation_text::kReportToFile +
                   QDir::toNativeSeparators(
                       ParamFilePath(picker->currentFolder(), ReportFileName(picker->fileName()))));
}

#include "app/param_editor.h"

#include "files/param_report_pdf.h"
#include "files/parameter_file.h"
#include "params/param_answer_decoder.h"
#include "views/file_location_picker.h"
#include "views/param_window/param_window.h"

#include <QDir>
#include <QPushButton>

ParamEditor::ParamEditor(ExchangeCycle& cycle, ParamCatalogue& catalogue, StatusLine& status,
                         MessageBoxService& messages, QChar decimalSeparator, QWidget* owner)
    : cycle(cycle), catalogue(catalogue), status(status), messages(messages),
      decimal_separator(decimalSeparator), owner(owner) {}

ParamEditor::~ParamEditor() = default;

ParamWindow* ParamEditor::window() const {
    return frm_param;
}

void ParamEditor::open() {
    catalogue.BuildParamCatalogue();
    ParamWindow& window = ensureWindow();
    readAll(false);
    window.show();
    window.raise();
    window.activateWindow();
}

void ParamEditor::showAnswer(const RxBuffer& answer) {
    if (frm_param)
        ShowParamAnswer(answer, catalogue, *frm_param, decimal_separator);
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
    frm_param = new ParamWindow(owner);
    if (!geometry.isEmpty())
        frm_param->restoreGeometry(geometry);
    frm_param->setModbusBlocked(modbus_blocked);
    connect(frm_param, &ParamWindow::enterPressed, this, [this](int index) {
        if (transfers().writeOne(index))
            emit performed(QStringLiteral("Запись параметра %1: %2")
                               .arg(index)
                               .arg(frm_param->text(index).trimmed()));
    });
    connect(frm_param->readAllButton(), &QPushButton::clicked, this, [this] { readAll(true); });
    connect(frm_param->writeAllButton(), &QPushButton::clicked, this, [this] {
        if (transfers().writeAll())
            emit performed(QStringLiteral("Запись всех параметров"));
    });
    connect(frm_param->saveFileButton(), &QPushButton::clicked, this, &ParamEditor::saveFile);
    connect(frm_param->readFileButton(), &QPushButton::clicked, this, &ParamEditor::readFile);
    connect(frm_param->compareButton(), &QPushButton::clicked, this, &ParamEditor::compareFile);
    connect(frm_param->reportButton(), &QPushButton::clicked, this, &ParamEditor::writeReport);
    return *frm_param;
}

ParamTransfers ParamEditor::transfers() {
    return {cycle, catalogue, *frm_param, messages};
}

void ParamEditor::readAll(bool whiten) {
    if (transfers().readAll(whiten))
        emit performed(QStringLiteral("Чтение всех параметров"));
}

QString ParamEditor::chosenFilePath() const {
    const FileLocationPicker* picker = frm_param->filePicker();
    return QDir::toNativeSeparators(ParamFilePath(picker->currentFolder(), picker->fileName()));
}

void ParamEditor::saveFile() {
    FileLocationPicker* picker = frm_param->filePicker();
    if (SaveParameterFile({*frm_param, status, messages}, picker->currentFolder(),
                          picker->fileName(), [picker] { picker->refreshFiles(); }))
        emit performed(QStringLiteral("Сохранение в файл ") + chosenFilePath());
}

void ParamEditor::readFile() {
    const FileLocationPicker* picker = frm_param->filePicker();
    if (ReadParameterFile({*frm_param, status, messages}, picker->currentFolder(),
                          picker->fileName()))
        emit performed(QStringLiteral("Чтение из файла ") + chosenFilePath());
}

void ParamEditor::compareFile() {
    const FileLocationPicker* picker = frm_param->filePicker();
    std::optional<ComparedFile> compared = CompareParameterFile(
        {*frm_param, status, messages}, picker->currentFolder(), picker->fileName());
    if (!compared)
        return;
    last_compare = std::move(compared);
    emit performed(QStringLiteral("Сравнение с файлом ") + chosenFilePath());
}

void ParamEditor::writeReport() {
    FileLocationPicker* picker = frm_param->filePicker();
    const ReportHeading heading = report_heading ? report_heading() : ReportHeading{};
    if (!SaveParamReport(status, messages, MakeParamReport(heading, *frm_param, last_compare),
                         picker->currentFolder(), picker->fileName()))
        return;
    picker->refreshFiles();
    emit performed(QStringLiteral("Отчёт в файл ") +
                   QDir::toNativeSeparators(
                       ParamFilePath(picker->currentFolder(), ReportFileName(picker->fileName()))));
}

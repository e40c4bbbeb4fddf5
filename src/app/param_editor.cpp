#include "app/param_editor.h"

#include "files/parameter_file.h"
#include "params/param_answer_decoder.h"
#include "views/file_location_picker.h"
#include "views/param_window/param_window.h"

#include <QPushButton>
#include <utility>

ParamEditor::ParamEditor(ExchangeCycle& cycle, ParamCatalogue& catalogue, StatusLine& status,
                         MessageBoxService& messages, QChar decimalSeparator, QString pickerFolder,
                         QWidget* owner)
    : cycle(cycle), catalogue(catalogue), status(status), messages(messages),
      decimal_separator(decimalSeparator), picker_folder(std::move(pickerFolder)), owner(owner) {}

ParamEditor::~ParamEditor() = default;

ParamWindow* ParamEditor::window() const {
    return frm_param;
}

void ParamEditor::open() {
    catalogue.BuildParamCatalogue();
    ParamWindow& window = ensureWindow();
    transfers().readAll(false);
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
    frm_param = new ParamWindow(owner, picker_folder);
    if (!geometry.isEmpty())
        frm_param->restoreGeometry(geometry);
    frm_param->setModbusBlocked(modbus_blocked);
    connect(frm_param, &ParamWindow::enterPressed, this,
            [this](int index) { transfers().writeOne(index); });
    connect(frm_param->readAllButton(), &QPushButton::clicked, this,
            [this] { transfers().readAll(true); });
    connect(frm_param->writeAllButton(), &QPushButton::clicked, this,
            [this] { transfers().writeAll(); });
    connect(frm_param->saveFileButton(), &QPushButton::clicked, this, &ParamEditor::saveFile);
    connect(frm_param->readFileButton(), &QPushButton::clicked, this, &ParamEditor::readFile);
    connect(frm_param->compareButton(), &QPushButton::clicked, this, &ParamEditor::compareFile);
    return *frm_param;
}

ParamTransfers ParamEditor::transfers() {
    return {cycle, catalogue, *frm_param, messages};
}

void ParamEditor::saveFile() {
    FileLocationPicker* picker = frm_param->filePicker();
    SaveParameterFile({*frm_param, status, messages}, picker->currentFolder(), picker->fileName(),
                      [picker] { picker->refreshFiles(); });
}

void ParamEditor::readFile() {
    const FileLocationPicker* picker = frm_param->filePicker();
    ReadParameterFile({*frm_param, status, messages}, picker->currentFolder(), picker->fileName());
}

void ParamEditor::compareFile() {
    const FileLocationPicker* picker = frm_param->filePicker();
    CompareParameterFile({*frm_param, status, messages}, picker->currentFolder(),
                         picker->fileName());
}

#include "param_editor.h"

#include "files/file_location_picker.h"
#include "files/parameter_file.h"
#include "link/bulk_transfer.h"
#include "monitor/param_answer_decoder.h"
#include "param_editing.h"
#include "param_window.h"

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
    refuseIfFull(ReadAllParameters(cycle.request_queue, catalogue));
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

ParamWindow& ParamEditor::ensureWindow() {
    if (frm_param)
        return *frm_param;
    frm_param = new ParamWindow(owner);
    frm_param->setModbusBlocked(modbus_blocked);
    connect(frm_param, &ParamWindow::enterPressed, this, &ParamEditor::writeOne);
    connect(frm_param->readAllButton(), &QPushButton::clicked, this, &ParamEditor::readAll);
    connect(frm_param->writeAllButton(), &QPushButton::clicked, this, &ParamEditor::writeAll);
    connect(frm_param->saveFileButton(), &QPushButton::clicked, this, &ParamEditor::saveFile);
    connect(frm_param->readFileButton(), &QPushButton::clicked, this, &ParamEditor::readFile);
    connect(frm_param->compareButton(), &QPushButton::clicked, this, &ParamEditor::compareFile);
    return *frm_param;
}

void ParamEditor::whitenAll() {
    for (int i = 0; i < kParamCount; ++i)
        frm_param->setState(i, BoxState::Changed);
}

void ParamEditor::readAll() {
    whitenAll();
    refuseIfFull(ReadAllParameters(cycle.request_queue, catalogue));
}

void ParamEditor::writeAll() {
    whitenAll();
    refuseIfFull(WriteAllParameters(cycle, catalogue, *frm_param));
}

void ParamEditor::writeOne(int index) {
    refuseIfFull(WriteSingleParameter(index, *frm_param, catalogue, cycle));
}

void ParamEditor::refuseIfFull(bool queued) {
    if (!queued)
        status.setText(link_text::kQueueFull);
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

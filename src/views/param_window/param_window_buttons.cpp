#include "views/param_window/param_window.h"

#include "views/file_location_picker.h"
#include "views/param_window/twips.h"

#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

// The bulk and file buttons in a column beside the file location picker, the report's and the
// compare of two files last; what they do is wired by the transfer and file operations. The
// file buttons are usable exactly while the picker is; the compare of two files picks its files
// in dialogs of its own.

void ParamWindow::buildButtons(const QString& pickerFolder) {
    struct Button {
        QPushButton*& button;
        const char* name;
        const char* text;
    };
    const Button buttons[] = {
        {cmd_readall, "cmd_readall", "Прочитать всё из ЭСППЗУ"},
        {cmd_writeall, "cmd_writeall", "Записать всё в ЭСППЗУ"},
        {save_file_button, "cmdSaveFile", "Сохранить в файл"},
        {read_file_button, "cmdReadFile", "Прочитать из файла"},
        {compare_button, "cmdCompare", "Сравнить с файлом"},
    };
    int top = 8640;
    for (const Button& b : buttons) {
        b.button = new QPushButton(QString::fromUtf8(b.text), frm_prg);
        b.button->setObjectName(QLatin1String(b.name));
        b.button->setGeometry(TwipsRect(9000, top, 2640, 375));
        top += 450;
    }
    // One place lower, beside the legend's short "Значение из файла": its longer texts reach
    // under the column and would be covered.
    report_button = new QPushButton(QStringLiteral("Отчёт…"), frm_prg);
    report_button->setObjectName("cmdReport");
    report_button->setGeometry(TwipsRect(9000, top + 450, 2640, 375));
    // Lower still, beside the legend's short «Значение изменено»: the three rows between reach
    // under the column.
    compare_files_button = new QPushButton(QStringLiteral("Сравнить файлы…"), frm_prg);
    compare_files_button->setObjectName("cmdCompareFiles");
    compare_files_button->setGeometry(TwipsRect(9000, 13500, 2640, 375));

    file_picker_area = new QWidget(frm_prg);
    file_picker_area->setObjectName("file_picker_area");
    file_picker_area->setGeometry(TwipsRect(11760, 8640, 3600, 5280));
    auto* layout = new QVBoxLayout(file_picker_area);
    layout->setContentsMargins(0, 0, 0, 0);
    file_picker = new FileLocationPicker(file_picker_area, {}, pickerFolder);
    layout->addWidget(file_picker);

    const auto enableFileButtons = [this](bool usable) {
        for (QPushButton* button :
             {save_file_button, read_file_button, compare_button, report_button})
            button->setEnabled(usable);
    };
    enableFileButtons(file_picker->isUsable());
    connect(file_picker, &FileLocationPicker::usableChanged, this, enableFileButtons);
    connect(this, &ParamWindow::driveWatchTick, file_picker, &FileLocationPicker::refreshDrives);
}

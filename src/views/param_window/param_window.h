#pragma once

#include "params/param_boxes.h"
#include "params/param_catalogue.h"

#include <QWidget>

#include <array>

class FileLocationPicker;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QTimer;

// frm_param: the 506 programmable parameters, grouped as on the controller's panel, with the
// code legends, the colour legend, the bulk and file buttons and room for the file picker.
// Box i shows parameter i; its background colour tells where the value came from.
class ParamWindow : public QWidget, public ParamBoxes {
    Q_OBJECT
public:
    // The file picker starts in `pickerFolder`.
    ParamWindow(QWidget* owner, const QString& pickerFolder);

    QString text(int index) const override;
    void setText(int index, const QString& text) override;
    void setState(int index, BoxState state) override;
    std::optional<BoxState> state(int index) const override;

    QLineEdit* box(int index) const;
    void setModbusBlocked(bool blocked);
    // How far the transfer under way is, "Чтение всех параметров: 12 из 59 запросов" and its
    // frames; an empty text hides it.
    void showTransfer(const QString& text, int done, int total);

    QPushButton* readAllButton() const { return cmd_readall; }
    QPushButton* writeAllButton() const { return cmd_writeall; }
    QPushButton* saveFileButton() const { return save_file_button; }
    QPushButton* readFileButton() const { return read_file_button; }
    QPushButton* compareButton() const { return compare_button; }
    QPushButton* reportButton() const { return report_button; }
    QPushButton* compareFilesButton() const { return compare_files_button; }
    // Where the file operations take their folder and file name from.
    FileLocationPicker* filePicker() const { return file_picker; }

signals:
    // Enter or Return in box `index`: the single edit writes that parameter. Other keys only edit.
    void enterPressed(int index);
    // Every 500 ms while the window is shown: time to look for drives that came or went.
    void driveWatchTick();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QLineEdit* addBox(QWidget* parent, int index, const QRect& twips);
    QLabel* addCaption(QWidget* parent, const QString& text, const QRect& twips);

    void buildColumns();
    void buildChannels();
    void buildRelays();
    void buildLogic();
    void buildCodeLegends();
    void buildColourLegend();
    void buildButtons(const QString& pickerFolder);
    void buildTransferProgress();
    void buildScrollBars();
    void applyScrollGeometry();

    std::array<QLineEdit*, kParamCount> txt_par{};
    // Two states share light red, so the colour alone cannot tell them apart.
    std::array<std::optional<BoxState>, kParamCount> box_states{};
    int caption_count = 0;
    bool scroll_layout_pending = false;
    QGroupBox* frm_prg = nullptr;
    QScrollBar* vertical_bar = nullptr;
    QScrollBar* horizontal_bar = nullptr;
    QLabel* lbl_modbus_off = nullptr;
    QPushButton* cmd_readall = nullptr;
    QPushButton* cmd_writeall = nullptr;
    QPushButton* save_file_button = nullptr;
    QPushButton* read_file_button = nullptr;
    QPushButton* compare_button = nullptr;
    QPushButton* report_button = nullptr;
    QPushButton* compare_files_button = nullptr;
    QWidget* file_picker_area = nullptr;
    FileLocationPicker* file_picker = nullptr;
    QTimer* refresh_timer = nullptr;
    QLabel* transfer_text = nullptr;
    QProgressBar* transfer_bar = nullptr;
};

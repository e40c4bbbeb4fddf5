#pragma once

#include "views/save_name_dialog.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;
class QTimer;
class RowTable;
class SaveOutcomeLabel;
class TrafficMonitor;

// «Монитор обмена»: the rows of the traffic monitor, newest at the bottom, following the end
// unless the user scrolls up or pauses (End or the end of the pause follows it again); a filter
// for the background poll, the link statistics, saving the rows shown and recording a log file.
class TrafficWindow : public QWidget {
    Q_OBJECT
public:
    explicit TrafficWindow(TrafficMonitor& monitor, QWidget* owner = nullptr);

    SaveNameAsker ask_save_name;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void refresh();
    void hideBackground(bool hide);
    void showStatistics();
    void saveShown();
    void toggleRecording(bool on);
    void showLogState();

    TrafficMonitor& monitor;
    RowTable* table = nullptr;
    QCheckBox* hide_background_box = nullptr;
    QPushButton* pause_button = nullptr;
    QPushButton* record_button = nullptr;
    QLabel* statistics_label = nullptr;
    QLabel* log_label = nullptr;
    SaveOutcomeLabel* save_label = nullptr;
    QTimer* refresh_timer = nullptr;
};

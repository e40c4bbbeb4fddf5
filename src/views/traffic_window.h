#pragma once

#include "views/file_opening.h"
#include "views/save_name_dialog.h"

#include <QWidget>
#include <memory>

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
// A traffic log opened («Открыть журнал обмена…») shows in a window of its own, the same but
// for what only the live line has (pause, clearing, recording, resetting the figures).
class TrafficWindow : public QWidget {
    Q_OBJECT
public:
    explicit TrafficWindow(TrafficMonitor& monitor, QWidget* owner = nullptr);
    // The log at `path`, as ReadTrafficLog took it into `opened`; what it could not read is told
    // under the figures.
    TrafficWindow(std::unique_ptr<TrafficMonitor> opened, const QString& path,
                  const CsvReadOutcome& read, QWidget* owner);
    ~TrafficWindow() override;

    SaveNameAsker ask_save_name;
    OpenNameAsker ask_open_name;
    RefusalTeller tell_refusal;

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
    // Asks for a traffic log and opens it in a window of its own, or tells why not.
    void openLog();

    TrafficMonitor& monitor;
    std::unique_ptr<TrafficMonitor> opened;
    RowTable* table = nullptr;
    QCheckBox* hide_background_box = nullptr;
    QPushButton* pause_button = nullptr;
    QPushButton* record_button = nullptr;
    QPushButton* clear_button = nullptr;
    QPushButton* reset_button = nullptr;
    QLabel* statistics_label = nullptr;
    QLabel* log_label = nullptr;
    SaveOutcomeLabel* save_label = nullptr;
    QTimer* refresh_timer = nullptr;
};

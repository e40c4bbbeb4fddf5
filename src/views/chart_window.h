#pragma once

#include "live/engine_quantities.h"
#include "views/axis_range_dialog.h"
#include "views/save_name_dialog.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class EngineHistory;
class QCheckBox;
class QComboBox;
class QCPAxis;
class QCPGraph;
class QCPItemStraightLine;
class QCustomPlot;
class QLabel;
class QPushButton;
class QTimer;
class RecordingFile;
class SaveOutcomeLabel;
class SessionRecorder;

// «Графики»: the chosen quantities of the session against time, one value axis per unit. It
// follows the present over the chosen span until the user pauses, drags or zooms (wheel) back
// in time; a cursor under the mouse reads every shown value at that time. Each value axis fits
// what it shows but never narrower than its unit wants, unless the user fixes its range (the
// plot's context menu). Long spans are drawn decimated, so a day redraws as fast as a minute.
// A recording file read back is shown alike, in a window of its own titled with the file, with
// nothing to follow or record.
class ChartWindow : public QWidget {
    Q_OBJECT
public:
    ChartWindow(SessionRecorder& recorder, QChar decimalSeparator, QWidget* owner = nullptr);
    // The whole recording at first; a span chosen ends where the view ends.
    ChartWindow(std::unique_ptr<const RecordingFile> recording, QChar decimalSeparator,
                QWidget* owner = nullptr);
    ~ChartWindow() override;

    SaveNameAsker ask_save_name;
    OpenNameAsker ask_open_name;
    // How an axis' fixed range is asked for; tests answer without a modal dialog.
    std::function<std::optional<AxisRange>(const QString& unit, AxisRange current, int decimals)>
        ask_axis_range;

    // Redraws now (a timer does it twice a second while the window is shown).
    void redraw();

signals:
    // The file chosen for recording could not be opened ("path: why"); the owner tells the user.
    void recordingRefused(const QString& error);
    // «Открыть запись…»: the recording file the user chose to look at.
    void recordingChosen(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The samples drawn: the session's (with its recorder) or a file's (without).
    ChartWindow(const EngineHistory& samples, SessionRecorder* recorder, QChar decimalSeparator,
                QWidget* owner);
    void buildPlot();
    QWidget* buildChoices();
    void setPaused(bool paused);
    bool following() const;
    void stopFollowing();
    void placeSpan();
    void openRecording();
    void showCursor(double seconds);
    void fitValueAxes();
    void offerAxisMenu(const QPoint& at);
    void saveImage();
    void toggleRecording(bool on);
    void showRecordingState();
    std::int64_t spanMs() const;

    const EngineHistory& samples;
    SessionRecorder* recorder; // none for a recording file
    std::unique_ptr<const RecordingFile> recording;
    QChar decimal_separator;
    QCustomPlot* plot = nullptr;
    std::array<QCheckBox*, kQuantityCount> quantity_boxes{};
    std::array<QCPGraph*, kQuantityCount> graphs{};
    std::array<QCPAxis*, 4> unit_axes{};
    QCPItemStraightLine* cursor_line = nullptr;
    QComboBox* span_box = nullptr;
    QPushButton* pause_button = nullptr;
    QPushButton* record_button = nullptr;
    QLabel* readout_label = nullptr;
    QLabel* record_label = nullptr;
    SaveOutcomeLabel* save_label = nullptr;
    QTimer* redraw_timer = nullptr;
    // The ranges the user fixed, per value axis; the others follow the values.
    std::array<std::optional<AxisRange>, 4> fixed_ranges{};
    double cursor_seconds = -1;
    // Where redraw() put the time axis; a click that leaves it there does not pause.
    double followed_from = 0;
    double followed_to = 0;
};

#pragma once

#include "live/engine_quantities.h"
#include "views/axis_range_dialog.h"
#include "views/save_name_dialog.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QCPAxis;
class QCPGraph;
class QCPItemStraightLine;
class QCustomPlot;
class QLabel;
class QPushButton;
class QTimer;
class SaveOutcomeLabel;
class SessionRecorder;

// «Графики»: the chosen quantities of the session against time, one value axis per unit. It
// follows the present over the chosen span until the user pauses, drags or zooms (wheel) back
// in time; a cursor under the mouse reads every shown value at that time. Each value axis fits
// what it shows but never narrower than its unit wants, unless the user fixes its range (the
// plot's context menu). Long spans are drawn decimated, so a day redraws as fast as a minute.
class ChartWindow : public QWidget {
    Q_OBJECT
public:
    ChartWindow(SessionRecorder& recorder, QChar decimalSeparator, QWidget* owner = nullptr);

    SaveNameAsker ask_save_name;
    // How an axis' fixed range is asked for; tests answer without a modal dialog.
    std::function<std::optional<AxisRange>(const QString& unit, AxisRange current, int decimals)>
        ask_axis_range;

    // Redraws now (a timer does it twice a second while the window is shown).
    void redraw();

signals:
    // The file chosen for recording could not be opened ("path: why"); the owner tells the user.
    void recordingRefused(const QString& error);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildPlot();
    QWidget* buildChoices();
    void setPaused(bool paused);
    void showCursor(double seconds);
    void fitValueAxes();
    void offerAxisMenu(const QPoint& at);
    void saveImage();
    void toggleRecording(bool on);
    void showRecordingState();
    std::int64_t spanMs() const;

    SessionRecorder& recorder;
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

#include "views/chart_window.h"

#include "disk/file_extension.h"
#include "disk/whole_file_write.h"
#include "history/recording_file.h"
#include "history/session_recorder.h"
#include "views/save_outcome_label.h"
#include "views/screen_placement.h"
#include "views/window_words.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>
#include <qcustomplot.h>

namespace {
const QString kTitle = QStringLiteral("Графики");

// Twice a second: following the present looks smooth, and a redraw of ten series costs
// about 3 ms.
constexpr int kRedrawMs = 500;

struct Span {
    const char* caption;
    std::int64_t ms; // 0: the whole history
};
constexpr std::array<Span, 4> kSpans{{
    {"1 мин", 60'000},
    {"10 мин", 600'000},
    {"1 ч", 3'600'000},
    {"Всё", 0},
}};
constexpr int kDefaultSpan = 1;
constexpr int kWholeSpan = 3;

// A file's view is drawn anew once a drag or a zoom has settled, not at each step of it.
constexpr int kSettleMs = 50;

// Lines one pixel wide must be told apart at a glance: ten clearly different colours, and only
// one of them blue (the coolant; the battery beside it is dark olive).
const std::array<QColor, kQuantityCount> kColours{
    QColor(200, 0, 0),   QColor(120, 60, 0), QColor(0, 110, 200), QColor(230, 120, 0),
    QColor(150, 0, 150), QColor(0, 140, 0),  QColor(0, 170, 170), QColor(90, 90, 90),
    QColor(200, 0, 120), QColor(110, 110, 0)};

// Quantities of one unit share a value axis: speeds, temperatures, pressures, voltage.
int unitAxisOf(Quantity quantity) {
    const QString unit = LookOf(quantity).unit;
    QStringList units;
    for (int q = 0; q < kQuantityCount; ++q)
        if (!units.contains(LookOf(QuantityAt(q)).unit))
            units.append(LookOf(QuantityAt(q)).unit);
    return static_cast<int>(units.indexOf(unit));
}

// "path: why", as the message box and the label say it.
QString fileTrouble(const SessionRecorder& recorder) {
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(recorder.recordingFileName()),
                                        recorder.recordingError());
}

double seconds(std::int64_t ms) {
    return static_cast<double>(ms) / 1000.0;
}

// The file's name and the time it covers, so that the windows of several files are told apart.
QString recordingTitle(const QString& path, const EngineHistory& history) {
    const QString name = QFileInfo(path).fileName();
    if (history.size() == 0)
        return QStringLiteral("%1: %2 — нет значений").arg(kTitle, name);
    const QDateTime from = QDateTime::fromMSecsSinceEpoch(history.at(0).wall_ms);
    const QDateTime to = QDateTime::fromMSecsSinceEpoch(history.at(history.size() - 1).wall_ms);
    const QString full = QStringLiteral("dd.MM.yyyy HH:mm:ss");
    return QStringLiteral("%1: %2, %3 – %4")
        .arg(kTitle, name, from.toString(full),
             to.toString(from.date() == to.date() ? QStringLiteral("HH:mm:ss") : full));
}
} // namespace

ChartWindow::ChartWindow(SessionRecorder& recorder, QChar decimalSeparator, QWidget* owner)
    : ChartWindow(recorder.history(), &recorder, decimalSeparator, owner) {
    setWindowTitle(kTitle);
}

ChartWindow::ChartWindow(std::unique_ptr<const RecordingFile> file, QChar decimalSeparator,
                         QWidget* owner)
    : ChartWindow(file->history(), nullptr, decimalSeparator, owner) {
    recording = std::move(file);
    setObjectName(QStringLiteral("frm_recording"));
    setWindowTitle(recordingTitle(recording->path(), samples));
    {
        const QSignalBlocker quiet(span_box);
        span_box->setCurrentIndex(kWholeSpan);
    }
    placeSpan();
    redraw_timer->setSingleShot(true);
    redraw_timer->setInterval(kSettleMs);
    connect(plot->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), redraw_timer,
            qOverload<>(&QTimer::start));
}

ChartWindow::~ChartWindow() = default;

ChartWindow::ChartWindow(const EngineHistory& samples, SessionRecorder* recorder,
                         QChar decimalSeparator, QWidget* owner)
    : QWidget(owner, Qt::Window), samples(samples), recorder(recorder),
      decimal_separator(decimalSeparator) {
    setObjectName(QStringLiteral("frm_charts"));
    PlaceOnScreen(this, QSize(1100, 650));
    ask_save_name = SaveNameDialog(this);
    ask_open_name = OpenNameDialog(this);
    ask_axis_range = [this](const QString& unit, AxisRange current, int decimals) {
        return AskAxisRange(this, unit, current, decimals);
    };

    buildPlot();
    span_box = new QComboBox(this);
    span_box->setObjectName(QStringLiteral("span"));
    span_box->setAccessibleName(QStringLiteral("Интервал"));
    for (const Span& span : kSpans)
        span_box->addItem(QString::fromUtf8(span.caption));
    span_box->setCurrentIndex(kDefaultSpan);
    auto* save = new QPushButton(QStringLiteral("Сохранить изображение…"), this);
    save->setObjectName(QStringLiteral("save_image"));
    auto* open = new QPushButton(QStringLiteral("Открыть запись…"), this);
    open->setObjectName(QStringLiteral("open_recording"));
    readout_label = new QLabel(this);
    readout_label->setObjectName(QStringLiteral("readout"));
    // The labels' names stay the values they show (Qt's default); what they are is described.
    readout_label->setAccessibleDescription(QStringLiteral("Значения под курсором"));
    readout_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Ten values do not fit one line: they wrap (each value kept whole), and two lines are
    // kept for them from the start, so the plot does not jump when the cursor first appears.
    readout_label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    readout_label->setWordWrap(true);
    readout_label->setMinimumHeight(2 * readout_label->fontMetrics().lineSpacing());
    save_label = new SaveOutcomeLabel(this, QStringLiteral("Изображение сохранено"),
                                      QStringLiteral("Изображение не сохранено"));

    auto* tools = new QHBoxLayout;
    auto* spanCaption = new QLabel(QStringLiteral("Интервал:"), this);
    spanCaption->setBuddy(span_box);
    tools->addWidget(spanCaption);
    tools->addWidget(span_box);
    if (recorder) {
        pause_button = new QPushButton(window_text::kPause, this);
        pause_button->setObjectName(QStringLiteral("pause"));
        pause_button->setCheckable(true);
        tools->addWidget(pause_button);
    }
    tools->addWidget(save);
    tools->addWidget(open);
    if (recorder) {
        record_button = new QPushButton(window_text::kRecordToFile, this);
        record_button->setObjectName(QStringLiteral("record"));
        record_button->setCheckable(true);
        tools->addWidget(record_button);
    }
    tools->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addWidget(buildChoices());
    middle->addWidget(plot, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addLayout(middle, 1);
    layout->addWidget(readout_label);
    auto* files = new QHBoxLayout;
    files->addStretch(1);
    files->addWidget(save_label);
    layout->addLayout(files);

    redraw_timer = new QTimer(this);
    redraw_timer->setInterval(kRedrawMs);
    connect(redraw_timer, &QTimer::timeout, this, &ChartWindow::redraw);
    connect(span_box, &QComboBox::currentIndexChanged, this, &ChartWindow::redraw);
    connect(save, &QPushButton::clicked, this, &ChartWindow::saveImage);
    connect(open, &QPushButton::clicked, this, &ChartWindow::openRecording);
    if (!recorder)
        return;
    record_label = new QLabel(this);
    record_label->setObjectName(QStringLiteral("record_state"));
    record_label->setAccessibleDescription(window_text::kRecordingState);
    record_label->setWordWrap(true);
    files->insertWidget(0, record_label, 1);
    connect(pause_button, &QPushButton::toggled, this, [this](bool paused) {
        setPaused(paused);
        redraw();
    });
    connect(record_button, &QPushButton::toggled, this, &ChartWindow::toggleRecording);
    connect(recorder, &SessionRecorder::recordingFailed, this, &ChartWindow::showRecordingState);
    showRecordingState();
}

void ChartWindow::buildPlot() {
    plot = new QCustomPlot(this);
    plot->setObjectName(QStringLiteral("plot"));
    plot->setAccessibleName(kTitle);
    plot->setNotAntialiasedElements(QCP::aeAll);
    plot->setMouseTracking(true);
    QCPAxisRect* rect = plot->axisRect();
    auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
    ticker->setDateTimeFormat(QStringLiteral("HH:mm:ss"));
    plot->xAxis->setTicker(ticker);
    unit_axes = {plot->yAxis, rect->addAxis(QCPAxis::atLeft), plot->yAxis2,
                 rect->addAxis(QCPAxis::atRight)};
    for (int q = 0; q < kQuantityCount; ++q) {
        const Quantity quantity = QuantityAt(q);
        QCPAxis* axis = unit_axes[unitAxisOf(quantity)];
        axis->setLabel(LookOf(quantity).unit);
        graphs[q] = plot->addGraph(plot->xAxis, axis);
        graphs[q]->setPen(QPen(kColours[q], 1));
        graphs[q]->setName(QuantityTitle(quantity));
    }
    cursor_line = new QCPItemStraightLine(plot);
    cursor_line->setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
    cursor_line->setVisible(false);
    // Dragging or zooming back in time stops following the present.
    plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    rect->setRangeDrag(Qt::Horizontal);
    rect->setRangeZoom(Qt::Horizontal);
    rect->setRangeDragAxes(plot->xAxis, nullptr);
    rect->setRangeZoomAxes(plot->xAxis, nullptr);
    plot->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(plot, &QWidget::customContextMenuRequested, this, &ChartWindow::offerAxisMenu);
    connect(plot, &QCustomPlot::mouseRelease, this, [this] {
        if (plot->xAxis->range() != QCPRange(followed_from, followed_to))
            stopFollowing();
    });
    connect(plot, &QCustomPlot::mouseWheel, this, &ChartWindow::stopFollowing);
    connect(plot, &QCustomPlot::mouseMove, this, [this](QMouseEvent* event) {
        showCursor(plot->xAxis->pixelToCoord(event->position().x()));
    });
}

QWidget* ChartWindow::buildChoices() {
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    for (int q = 0; q < kQuantityCount; ++q) {
        auto* box = new QCheckBox(QuantityTitle(QuantityAt(q)), panel);
        box->setObjectName(QStringLiteral("quantity_%1").arg(q));
        QPalette palette = box->palette();
        palette.setColor(QPalette::WindowText, kColours[q]);
        box->setPalette(palette);
        box->setChecked(LookOf(QuantityAt(q)).charted_at_start);
        connect(box, &QCheckBox::toggled, this, &ChartWindow::redraw);
        quantity_boxes[q] = box;
        column->addWidget(box);
    }
    column->addStretch();
    return panel;
}

std::int64_t ChartWindow::spanMs() const {
    return kSpans[span_box->currentIndex()].ms;
}

void ChartWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    redraw();
    if (recorder)
        redraw_timer->start();
}

void ChartWindow::hideEvent(QHideEvent* event) {
    redraw_timer->stop();
    QWidget::hideEvent(event);
}

void ChartWindow::setPaused(bool paused) {
    // While paused the x range stays where the user left it; span changes still apply.
    if (!paused)
        cursor_seconds = -1;
}

bool ChartWindow::following() const {
    return pause_button && !pause_button->isChecked();
}

void ChartWindow::stopFollowing() {
    if (pause_button)
        pause_button->setChecked(true);
}

void ChartWindow::placeSpan() {
    const std::int64_t last = samples.size() > 0 ? samples.at(samples.size() - 1).wall_ms
                                                 : QDateTime::currentMSecsSinceEpoch();
    const std::int64_t first = samples.size() > 0 ? samples.at(0).wall_ms : last;
    const std::int64_t span = spanMs() > 0 ? spanMs() : std::max<std::int64_t>(last - first, 1000);
    // A file's view keeps its right edge, within the file: the user looks where they left it.
    std::int64_t end = last;
    if (!recorder && spanMs() > 0)
        end = std::clamp(static_cast<std::int64_t>(std::llround(plot->xAxis->range().upper * 1000)),
                         std::min(first + span, last), last);
    plot->xAxis->setRange(seconds(end - span), seconds(end));
    followed_from = plot->xAxis->range().lower;
    followed_to = plot->xAxis->range().upper;
}

void ChartWindow::redraw() {
    if (following() || sender() == span_box)
        placeSpan();
    const auto fromMs = static_cast<std::int64_t>(plot->xAxis->range().lower * 1000);
    const auto toMs = static_cast<std::int64_t>(plot->xAxis->range().upper * 1000);
    const int columns = std::max(1, plot->axisRect()->width());
    const EngineHistory::Curves curves = samples.decimated(fromMs, toMs, columns);
    std::array<bool, 4> axisUsed{};
    for (int q = 0; q < kQuantityCount; ++q) {
        const bool shown = quantity_boxes[q]->isChecked();
        graphs[q]->setVisible(shown);
        if (!shown) {
            graphs[q]->data()->clear();
            continue;
        }
        QList<double> keys, values;
        for (const QPointF& point : curves[q]) {
            keys.append(point.x() / 1000.0);
            values.append(point.y());
        }
        graphs[q]->setData(keys, values, true);
        axisUsed[unitAxisOf(QuantityAt(q))] = true;
    }
    for (int a = 0; a < 4; ++a)
        unit_axes[a]->setVisible(axisUsed[a]);
    fitValueAxes();
    if (cursor_seconds >= 0)
        showCursor(cursor_seconds);
    plot->replot(QCustomPlot::rpQueuedReplot);
}

void ChartWindow::fitValueAxes() {
    for (int a = 0; a < 4; ++a) {
        if (const std::optional<AxisRange>& fixed = fixed_ranges[a]) {
            unit_axes[a]->setRange(fixed->lower, fixed->upper);
            continue;
        }
        bool found = false;
        QCPRange range;
        double leastSpan = 0;
        for (int q = 0; q < kQuantityCount; ++q)
            if (graphs[q]->visible() && unitAxisOf(QuantityAt(q)) == a) {
                leastSpan = std::max(leastSpan, LookOf(QuantityAt(q)).least_span);
                bool any = false;
                const QCPRange r = graphs[q]->getValueRange(any, QCP::sdBoth, plot->xAxis->range());
                if (any)
                    range = found ? QCPRange(std::min(range.lower, r.lower),
                                             std::max(range.upper, r.upper))
                                  : r;
                found = found || any;
            }
        if (!found)
            continue;
        // Widened about its middle and by a margin, but never into negative values none of the
        // quantities holds: an engine at rest is drawn at 0 об/мин, not amid -50 … 50.
        const double floor = range.lower >= 0 ? 0 : -std::numeric_limits<double>::infinity();
        if (range.size() < leastSpan) {
            const double lower = std::max(floor, range.center() - leastSpan / 2);
            range = QCPRange(lower, lower + leastSpan);
        }
        const double margin = range.size() * 0.05;
        unit_axes[a]->setRange(std::max(floor, range.lower - margin), range.upper + margin);
    }
}

void ChartWindow::offerAxisMenu(const QPoint& at) {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (int a = 0; a < 4; ++a) {
        if (!unit_axes[a]->visible())
            continue;
        const QString unit = unit_axes[a]->label();
        menu->addAction(QStringLiteral("Задать шкалу, %1…").arg(unit), this, [this, a, unit] {
            int decimals = 0;
            for (int q = 0; q < kQuantityCount; ++q)
                if (unitAxisOf(QuantityAt(q)) == a)
                    decimals = std::max(decimals, LookOf(QuantityAt(q)).decimals);
            const QCPRange now = unit_axes[a]->range();
            if (const std::optional<AxisRange> chosen =
                    ask_axis_range(unit, {now.lower, now.upper}, decimals)) {
                fixed_ranges[a] = chosen;
                redraw();
            }
        });
        if (fixed_ranges[a])
            menu->addAction(QStringLiteral("Автоматическая шкала, %1").arg(unit), this, [this, a] {
                fixed_ranges[a].reset();
                redraw();
            });
    }
    menu->popup(plot->mapToGlobal(at));
}

void ChartWindow::showCursor(double at) {
    const int i = samples.nearest(static_cast<std::int64_t>(std::llround(at * 1000)));
    if (i < 0)
        return;
    cursor_seconds = at;
    const EngineSample& sample = samples.at(i);
    cursor_line->point1->setCoords(seconds(sample.wall_ms), 0);
    cursor_line->point2->setCoords(seconds(sample.wall_ms), 1);
    cursor_line->setVisible(true);
    QStringList parts{
        QDateTime::fromMSecsSinceEpoch(sample.wall_ms).toString(QStringLiteral("HH:mm:ss.zzz"))};
    for (int q = 0; q < kQuantityCount; ++q) {
        if (!quantity_boxes[q]->isChecked() || std::isnan(sample.raw[q]))
            continue;
        const Quantity quantity = QuantityAt(q);
        // A value never parts from its name and unit at a line's end.
        parts.append(
            QStringLiteral("%1: %2 %3")
                .arg(LookOf(quantity).name,
                     QuantityText(quantity, std::llround(sample.raw[q]), decimal_separator),
                     LookOf(quantity).unit)
                .replace(u' ', QChar::Nbsp));
    }
    readout_label->setText(parts.join(QStringLiteral("   ")));
    plot->replot(QCustomPlot::rpQueuedReplot);
}

void ChartWindow::saveImage() {
    const QString path =
        WithExtension(ask_save_name(QStringLiteral("Сохранить изображение"),
                                    QStringLiteral("Изображение PNG (*.png)"), SaveMode::Replace),
                      QStringLiteral(".png"));
    if (path.isEmpty())
        return;
    // The picture shows the session, not what became of an earlier save.
    save_label->clear();
    layout()->activate();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    grab().save(&buffer, "PNG");
    save_label->showOutcome(path, WriteWholeFile(path, png));
}

void ChartWindow::openRecording() {
    const QString path = ask_open_name(QStringLiteral("Открыть запись"), kCsvFilter);
    if (!path.isEmpty())
        emit recordingChosen(path);
}

void ChartWindow::toggleRecording(bool on) {
    if (!on) {
        recorder->stopRecording();
        showRecordingState();
        return;
    }
    const QString path =
        ask_save_name(QStringLiteral("Записывать значения в файл"), kCsvFilter, SaveMode::Append);
    const bool refused = !path.isEmpty() && !recorder->startRecording(path);
    showRecordingState();
    if (refused)
        emit recordingRefused(fileTrouble(*recorder));
}

void ChartWindow::showRecordingState() {
    const QSignalBlocker quiet(record_button);
    record_button->setChecked(recorder->recording());
    if (recorder->recording())
        record_label->setText(QStringLiteral("Запись в файл: ") +
                              QDir::toNativeSeparators(recorder->recordingFileName()));
    else if (!recorder->recordingError().isEmpty())
        // The same words whether the file failed at opening or later at writing.
        record_label->setText(QStringLiteral("Запись в файл не ведётся: ") +
                              fileTrouble(*recorder));
    else
        record_label->clear();
}

// bench_chart_libraries: the redraw the plotting library of «Графики» was chosen by
// (docs/performance.md). QCustomPlot and Qt Charts get the same ten series; a redraw replaces
// the data and renders the widget into an image, as ChartWindow::redraw and its paint do.
//   bench_chart_libraries     N = 2000 (a decimated day: two points per pixel column) and 120
#include <QApplication>
#include <QChartView>
#include <QElapsedTimer>
#include <QImage>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <qcustomplot.h>
#include <random>

namespace {
constexpr int kSeriesCount = 10;
constexpr int kWidth = 1000;
constexpr int kHeight = 600;
constexpr int kRounds = 7;
constexpr int kRedrawsPerRound = 50;
constexpr int kWarmUpRedraws = 10;
constexpr double kDaySeconds = 86400;
constexpr double kTop = 2000;

// Both forms are made beforehand: what is timed is each library taking its own input.
struct Series {
    QVector<double> keys, values;
    QList<QPointF> points;
};
using Frame = std::array<Series, kSeriesCount>;

Frame makeFrame(int points, double phase, std::mt19937& random) {
    std::normal_distribution<double> noise(0, 20);
    Frame frame;
    for (int q = 0; q < kSeriesCount; ++q)
        for (int i = 0; i < points; ++i) {
            const double key = kDaySeconds * i / points;
            const double value =
                1000 + 700 * std::sin(phase + 6.0 * (q + 1) * i / points) + noise(random);
            frame[q].keys.append(key);
            frame[q].values.append(value);
            frame[q].points.append({key, value});
        }
    return frame;
}

QColor colourOf(int q) {
    return QColor::fromHsv(q * 36, 230, 200);
}

// The set-up of ChartWindow::buildPlot: no antialiasing, pens one pixel wide, no legend.
class CustomPlotChart {
public:
    CustomPlotChart() {
        plot.resize(kWidth, kHeight);
        plot.setNotAntialiasedElements(QCP::aeAll);
        for (int q = 0; q < kSeriesCount; ++q)
            plot.addGraph()->setPen(QPen(colourOf(q), 1));
        plot.xAxis->setRange(0, kDaySeconds);
        plot.yAxis->setRange(0, kTop);
    }
    void redraw(const Frame& frame, QImage& image) {
        for (int q = 0; q < kSeriesCount; ++q)
            plot.graph(q)->setData(frame[q].keys, frame[q].values, true);
        plot.replot();
        QCoreApplication::processEvents(); // what either library defers
        plot.render(&image);
    }

private:
    QCustomPlot plot;
};

class QtChartsChart {
public:
    QtChartsChart() {
        auto* chart = new QChart; // owned by the view
        chart->legend()->hide();
        auto* x = new QValueAxis;
        auto* y = new QValueAxis;
        x->setRange(0, kDaySeconds);
        y->setRange(0, kTop);
        chart->addAxis(x, Qt::AlignBottom);
        chart->addAxis(y, Qt::AlignLeft);
        for (int q = 0; q < kSeriesCount; ++q) {
            series[q] = new QLineSeries;
            // The theme's pen is two pixels wide, which would go through the stroker.
            series[q]->setPen(QPen(colourOf(q), 1));
            chart->addSeries(series[q]);
            series[q]->attachAxis(x);
            series[q]->attachAxis(y);
        }
        view.setChart(chart);
        view.setRenderHint(QPainter::Antialiasing, false);
        view.resize(kWidth, kHeight);
    }
    void redraw(const Frame& frame, QImage& image) {
        for (int q = 0; q < kSeriesCount; ++q)
            series[q]->replace(frame[q].points);
        QCoreApplication::processEvents();
        view.QWidget::render(&image); // the widget's paint, not QGraphicsView's scene render
    }

private:
    QChartView view;
    std::array<QLineSeries*, kSeriesCount> series{};
};

void printFigures(const char* library, int points, QList<double> ms) {
    std::sort(ms.begin(), ms.end());
    const auto p95 = static_cast<qsizetype>(std::ceil(0.95 * ms.size())) - 1;
    std::printf("  %-12s %4d points: median %.2f ms, 95th percentile %.2f ms\n", library, points,
                ms[ms.size() / 2], ms[p95]);
}

template <typename Chart> double timedRedraw(Chart& chart, const Frame& frame, QImage& image) {
    QElapsedTimer timer;
    timer.start();
    chart.redraw(frame, image);
    return timer.nsecsElapsed() / 1e6;
}

void compare(int points) {
    std::mt19937 random(604);
    // Two data sets taken in turn, so that no redraw is given the data it already shows.
    const std::array<Frame, 2> frames{makeFrame(points, 0, random), makeFrame(points, 0.5, random)};
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    CustomPlotChart customPlot;
    QtChartsChart qtCharts;
    // Untimed: the first render gives the hidden widgets their size, and fills the glyph caches.
    for (int i = 0; i < kWarmUpRedraws; ++i) {
        customPlot.redraw(frames[i % 2], image);
        qtCharts.redraw(frames[i % 2], image);
    }
    // The libraries take turns round by round, so that other load on the machine falls on both.
    QList<double> customPlotMs, qtChartsMs;
    for (int round = 0; round < kRounds; ++round) {
        for (int i = 0; i < kRedrawsPerRound; ++i)
            customPlotMs.append(timedRedraw(customPlot, frames[i % 2], image));
        for (int i = 0; i < kRedrawsPerRound; ++i)
            qtChartsMs.append(timedRedraw(qtCharts, frames[i % 2], image));
    }
    printFigures("QCustomPlot", points, customPlotMs);
    printFigures("Qt Charts", points, qtChartsMs);
}
} // namespace

int main(int argc, char** argv) {
    // The figures are of the offscreen platform, whatever display there is.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::printf("redraw of %d series, %d x %d, antialiasing off: data replaced, rendered into an "
                "image (%d x %d redraws)\n",
                kSeriesCount, kWidth, kHeight, kRounds, kRedrawsPerRound);
    compare(2000);
    compare(120);
    return 0;
}

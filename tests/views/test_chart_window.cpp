#include "frames.h"
#include "history/session_recorder.h"
#include "views/chart_window.h"

#include <QAccessible>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <qcustomplot.h>

// «Графики» at work on ten minutes of a start: the spans, the pause, the cursor reading the
// sample under it (to a screen reader too), and the picture saved.
class ChartWindowTest : public QObject {
    Q_OBJECT
private slots:
    void spansPauseCursorAndPicture() {
        std::int64_t now = QDateTime(QDate(2026, 12, 7), QTime(9, 0)).toMSecsSinceEpoch();
        SessionRecorder recorder(u',', [&now] { return now; });
        PollDecoder decoder(u',');
        const auto answer = [&](int i) {
            recorder.takePoll(decoder.decode(
                RxOf(PollFrame({{4, std::uint16_t(i)}, {7, std::uint16_t(200 + i % 700)}}))));
            now += 200;
        };
        for (int i = 0; i < 3000; ++i)
            answer(i);
        const double first = recorder.history().at(0).wall_ms / 1000.0;
        const auto last = [&] {
            return recorder.history().at(recorder.history().size() - 1).wall_ms / 1000.0;
        };

        ChartWindow window(recorder, u',');
        window.show();
        auto* plot = window.findChild<QCustomPlot*>("plot");
        auto* span = window.findChild<QComboBox*>("span");
        const auto range = [plot] { return plot->xAxis->range(); };
        QCOMPARE(span->currentText(), QString("10 мин"));
        QCOMPARE(range().upper, last());
        span->setCurrentText("1 мин");
        QCOMPARE(range().lower, last() - 60);
        span->setCurrentText("Всё");
        QCOMPARE(range().lower, first);
        span->setCurrentText("1 мин");

        window.findChild<QPushButton*>("pause")->click();
        const QCPRange paused = range();
        answer(3000);
        window.redraw();
        QCOMPARE(range(), paused);
        window.findChild<QPushButton*>("pause")->click();
        QCOMPARE(range().upper, last());

        const QPoint centre = plot->axisRect()->rect().center();
        QTest::mouseMove(plot, centre);
        const EngineSample& under = recorder.history().at(
            recorder.history().nearest(std::llround(plot->xAxis->pixelToCoord(centre.x()) * 1000)));
        auto* readout = window.findChild<QLabel*>("readout");
        QCOMPARE(readout->text(),
                 QDateTime::fromMSecsSinceEpoch(under.wall_ms).toString("HH:mm:ss.zzz") +
                     QStringLiteral("   Двигатель: %1 об/мин   ОЖ: %2 °C")
                         .arg(under.raw[0])
                         .arg(QuantityText(Quantity::CoolantTemperature, std::int64_t(under.raw[2]),
                                           u',')));
        QAccessibleInterface* told = QAccessible::queryAccessibleInterface(readout);
        QCOMPARE(QStringList({told->text(QAccessible::Name), told->text(QAccessible::Description)}),
                 QStringList({readout->text(), "Значения под курсором"}));

        QTemporaryDir dir;
        window.ask_save_name = [&](const QString&, const QString&, SaveMode) {
            return dir.filePath("пуск");
        };
        window.findChild<QPushButton*>("save_image")->click();
        QCOMPARE(QImage(dir.filePath("пуск.png")).size(), window.size());
    }
};

QTEST_MAIN(ChartWindowTest)
#include "test_chart_window.moc"

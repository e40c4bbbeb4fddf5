#include "frames.h"
#include "history/session_recorder.h"
#include "views/chart_window.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <qcustomplot.h>

// «Графики» at work on ten minutes of a start: the spans, the pause, the cursor reading the
// sample under it (to a screen reader too, and every value in full), and the picture saved.
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
                     QStringLiteral("   Двигатель:\u00A0%1\u00A0об/мин   ОЖ:\u00A0%2\u00A0°C")
                         .arg(under.raw[0])
                         .arg(QuantityText(Quantity::CoolantTemperature, std::int64_t(under.raw[2]),
                                           u',')));
        QAccessibleInterface* told = QAccessible::queryAccessibleInterface(readout);
        QCOMPARE(QStringList({told->text(QAccessible::Name), told->text(QAccessible::Description)}),
                 QStringList({readout->text(), "Значения под курсором"}));

        for (QCheckBox* box : window.findChildren<QCheckBox*>())
            box->setChecked(true);
        QTest::mouseMove(plot, centre + QPoint(1, 0));
        QVERIFY(readout->text().contains("Аккумулятор:"));
        QTRY_VERIFY(readout->height() >=
                    readout->fontMetrics()
                        .boundingRect(readout->contentsRect(), Qt::TextWordWrap, readout->text())
                        .height());

        QTemporaryDir dir;
        QString name = dir.filePath("значения.csv");
        window.ask_save_name = [&](const QString&, const QString&, SaveMode) { return name; };
        window.findChild<QPushButton*>("record")->click();
        const QString recording = "Запись в файл: " + name;
        QCOMPARE(window.findChild<QLabel*>("record_state")->text(), recording);
        auto* saved = window.findChild<QLabel*>("save_state");
        QVERIFY(saved);
        name = dir.filePath("пуск");
        window.findChild<QPushButton*>("save_image")->click();
        const QImage picture(dir.filePath("пуск.png"));
        QCOMPARE(picture.size(), window.size());
        QCOMPARE(saved->text(), "Изображение сохранено: " + name + ".png");
        name = dir.filePath("нет/пуск");
        window.findChild<QPushButton*>("save_image")->click();
        QCOMPARE(saved->text(),
                 QStringLiteral("Изображение не сохранено: %1.png: папка %2 не существует")
                     .arg(name, dir.filePath("нет")));
        QCOMPARE(window.findChild<QLabel*>("record_state")->text(), recording);
        name = dir.filePath("снова.png");
        window.findChild<QPushButton*>("save_image")->click();
        QCOMPARE(saved->text(), "Изображение сохранено: " + name);
        QCOMPARE(QImage(name), picture);
    }

    // A steady speed is drawn on an axis no narrower than its unit wants, values at rest from 0
    // up, and the user can fix an axis' range from the plot's menu and give it back.
    void valueAxes() {
        std::int64_t now = QDateTime(QDate(2026, 12, 7), QTime(9, 0)).toMSecsSinceEpoch();
        SessionRecorder recorder(u',', [&now] { return now; });
        PollDecoder decoder(u',');
        for (int i = 0; i < 300; ++i, now += 200)
            recorder.takePoll(decoder.decode(RxOf(PollFrame({{4, std::uint16_t(1497 + i % 7)}}))));
        ChartWindow window(recorder, u',');
        window.show();
        auto* plot = window.findChild<QCustomPlot*>("plot");
        const auto speedAxis = [plot] { return plot->yAxis->range(); };
        QVERIFY(speedAxis().size() >= 100 && speedAxis().contains(1497) &&
                speedAxis().contains(1503));
        // The other quantities rest at 0: their axes start there, not among negative values.
        for (QCPAxis* axis : plot->axisRect()->axes(QCPAxis::atLeft | QCPAxis::atRight))
            if (axis->visible() && axis != plot->yAxis)
                QCOMPARE(axis->range().lower, 0.0);

        const auto menu = [&] {
            emit plot->customContextMenuRequested(plot->rect().center());
            auto* shown = window.findChild<QMenu*>();
            QStringList texts;
            for (QAction* action : shown->actions())
                texts << action->text();
            return std::pair{std::unique_ptr<QMenu>(shown), texts};
        };
        auto [offered, texts] = menu();
        QCOMPARE(texts, (QStringList{"Задать шкалу, об/мин…", "Задать шкалу, °C…"}));
        window.ask_axis_range = [](const QString& unit, AxisRange current, int decimals) {
            return unit == "об/мин" && current.lower < 1497 && decimals == 0
                       ? std::optional(AxisRange{0, 2000})
                       : std::nullopt;
        };
        offered->actions()[0]->trigger();
        QCOMPARE(speedAxis(), QCPRange(0, 2000));
        window.redraw();
        QCOMPARE(speedAxis(), QCPRange(0, 2000));
        offered.reset();
        auto [again, fixedTexts] = menu();
        QCOMPARE(fixedTexts, (QStringList{"Задать шкалу, об/мин…", "Автоматическая шкала, об/мин",
                                          "Задать шкалу, °C…"}));
        again->actions()[1]->trigger();
        QVERIFY(speedAxis().size() < 200);
    }
};

QTEST_MAIN(ChartWindowTest)
#include "test_chart_window.moc"

#include "disk/csv_log_file.h"
#include "file_bytes.h"
#include "frames.h"
#include "history/session_recorder.h"
#include "scripted_messages.h"
#include "views/chart_window.h"
#include "views/recording_window.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
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

    // Ten minutes recorded, looked at later: a window of its own named by the file and its
    // time, the whole of it at first, the rows it could not read told once; no pause, no
    // recording. Its «Открыть запись…» refuses a journal and opens another recording beside it.
    void recordingLookedAtLater() {
        QTemporaryDir dir;
        const QString path = dir.filePath("пуск.csv");
        std::int64_t now = QDateTime(QDate(2026, 12, 7), QTime(9, 0)).toMSecsSinceEpoch();
        {
            SessionRecorder recorder(u',', [&now] { return now; });
            PollDecoder decoder(u',');
            QVERIFY(recorder.startRecording(path));
            for (int i = 0; i < 3000; ++i, now += 200)
                recorder.takePoll(decoder.decode(RxOf(PollFrame({{4, std::uint16_t(i)}}))));
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write("обрыв\r\n");
        file.close();

        ScriptedMessages messages;
        std::unique_ptr<ChartWindow> window(OpenRecordingWindow(path, u',', messages, nullptr));
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->windowTitle(), "Графики: пуск.csv, 07.12.2026 09:00:00 – 09:09:59");
        QVERIFY(messages.showedOnly(MessageIcon::Warning, MessageButtons::Ok,
                                    "Запись прочитана не вся",
                                    "Не удалось прочитать 1 строку файла (номера строк: 3002); "
                                    "остальные строки показаны."));
        QStringList boxes, checked;
        for (QCheckBox* box : window->findChildren<QCheckBox*>()) {
            boxes << box->text();
            if (box->isChecked())
                checked << box->text();
        }
        QCOMPARE(boxes.size(), 10);
        QCOMPARE(checked, QStringList({"Двигатель, об/мин", "ОЖ, °C"}));
        QVERIFY(!window->findChild<QPushButton*>("pause") &&
                !window->findChild<QPushButton*>("record"));
        auto* plot = window->findChild<QCustomPlot*>("plot");
        auto* span = window->findChild<QComboBox*>("span");
        const std::int64_t firstMs = QDateTime(QDate(2026, 12, 7), QTime(9, 0)).toMSecsSinceEpoch();
        const double first = firstMs / 1000.0, last = (firstMs + 599'800) / 1000.0;
        QCOMPARE(span->currentText(), QString("Всё"));
        QCOMPARE(plot->xAxis->range(), QCPRange(first, last));
        span->setCurrentText("1 мин");
        QCOMPARE(plot->xAxis->range(), QCPRange((firstMs + 539'800) / 1000.0, last));
        // Dragged to the start: drawn there once the view settles, and a span keeps its end.
        plot->xAxis->setRange(first - 10, first + 50);
        QTRY_COMPARE(plot->graph(0)->data()->begin()->key, first);
        span->setCurrentText("10 мин");
        QCOMPARE(plot->xAxis->range(), QCPRange((firstMs - 200) / 1000.0, last));
        const QCPRange dragged((firstMs + 100'000) / 1000.0, (firstMs + 160'000) / 1000.0);
        plot->xAxis->setRange(dragged);
        span->setCurrentText("1 мин");
        QCOMPARE(plot->xAxis->range(), dragged);

        const QString journal = dir.filePath("журнал.csv");
        WriteFileBytes(journal, CsvFileStart("Время;Событие"));
        QString chosen = journal;
        window->ask_open_name = [&](const QString& title, const QString&) {
            return title == "Открыть запись" ? chosen : QString();
        };
        const auto recordingWindows = [] {
            int n = 0;
            for (QWidget* w : QApplication::topLevelWidgets())
                n += w->objectName() == "frm_recording" && w->isVisible();
            return n;
        };
        window->findChild<QPushButton*>("open_recording")->click();
        QCOMPARE(messages.shown.size(), 2);
        QCOMPARE(messages.shown[1].title, QString("Запись не открыта"));
        QCOMPARE(recordingWindows(), 1);
        chosen = path;
        window->findChild<QPushButton*>("open_recording")->click();
        QCOMPARE(recordingWindows(), 2);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != window.get() && w->objectName() == "frm_recording")
                w->close();
    }
};

QTEST_MAIN(ChartWindowTest)
#include "test_chart_window.moc"

#include "frames.h"
#include "traffic/traffic_monitor.h"
#include "views/traffic_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

// «Монитор обмена» at work: rows appear decoded, the filter hides the poll and leaves the view
// following, a pause stops following the end and End takes it back, the 10,001st row drops the
// first, and saving says what became of the file beside the recording state.
class TrafficWindowTest : public QObject {
    Q_OBJECT
private slots:
    void rowsFilterPauseAndLimit() {
        TrafficMonitor monitor(Catalogue(), u',');
        TrafficWindow window(monitor);
        window.show();
        auto* table = window.findChild<QTableView*>("traffic_table");
        const QScrollBar* bar = table->verticalScrollBar();
        const auto atEnd = [bar] { return bar->maximum() > 0 && bar->value() == bar->maximum(); };
        const auto take = [&](bool sent, const char* hex) {
            monitor.take(
                {0, sent, WithCrc(Hex(hex)), sent ? LinkOutcome::FirstSend : LinkOutcome::Ok});
        };
        const auto cell = [&](int row, int column) {
            return table->model()->index(row, column).data().toString();
        };
        QVERIFY(window.findChild<QLabel*>("statistics")->text().contains("С первого раза: —\n"));
        take(true, "07 04 01 2C 00 7D");
        take(false, "07 04 00");
        take(true, "07 06 01 92 12 38");
        QTRY_COMPARE(table->model()->rowCount(), 3);
        QCOMPARE(cell(2, 1) + cell(2, 2) + cell(2, 4), ">07 06 01 92 12 38 24 CFКоманда СТАРТ");
        auto* filter = window.findChild<QCheckBox*>("hide_background");
        filter->click();
        QCOMPARE(table->model()->rowCount(), 1);
        filter->click();

        for (int i = 0; i < 300; ++i)
            take(true, i % 3 ? "07 04 01 2C 00 7D" : "07 64 01 00 0A");
        QTRY_VERIFY(atEnd());
        filter->click();
        QVERIFY(table->model()->rowCount() < 150);
        for (int i = 0; i < 300; ++i)
            take(true, i % 3 ? "07 04 01 2C 00 7D" : "07 64 01 00 0A");
        QTRY_VERIFY(table->model()->rowCount() > 150);
        filter->click();
        take(true, "07 64 01 17 01");
        QTRY_COMPARE(cell(table->model()->rowCount() - 1, 4), "Чтение параметров: 23");
        QVERIFY(atEnd());

        auto* pause = window.findChild<QPushButton*>("pause");
        pause->click();
        for (int i = 0; i < TrafficRows::kMaxRows; ++i)
            take(true, "07 64 01 00 0A");
        QTRY_COMPARE(table->model()->rowCount(), TrafficRows::kMaxRows);
        QCOMPARE(cell(0, 4), "Чтение параметров: 0–9");
        table->scrollToTop();
        QTest::keyClick(table, Qt::Key_End, Qt::ControlModifier);
        QVERIFY(atEnd() && !pause->isChecked());
        QCOMPARE(table->currentIndex().row(), TrafficRows::kMaxRows - 1);
        take(true, "07 64 01 17 01");
        QTRY_COMPARE(cell(TrafficRows::kMaxRows - 1, 4), "Чтение параметров: 23");
        QVERIFY(atEnd());
        pause->click();
        table->scrollToTop();
        pause->click();
        QVERIFY(atEnd());
    }

    // A name typed without an extension gets ".csv"; a save that fails names the file and the
    // reason and leaves the recording state in view; the next good save replaces the failure.
    void savingBesideRecording() {
        TrafficMonitor monitor(Catalogue(), u',');
        TrafficWindow window(monitor);
        QTemporaryDir dir;
        QString answer = dir.filePath("обмен.csv");
        window.ask_save_name = [&](const QString&, const QString&, SaveMode) { return answer; };
        window.findChild<QPushButton*>("record")->click();
        auto* recording = window.findChild<QLabel*>("log_state");
        QCOMPARE(recording->text(), "Запись в файл: " + answer);
        auto* saved = window.findChild<QLabel*>("save_state");
        QVERIFY(saved);
        answer = dir.filePath("нет/строки");
        window.findChild<QPushButton*>("save")->click();
        QCOMPARE(saved->text(), QStringLiteral("Файл не сохранён: %1.csv: папка %2 не существует")
                                    .arg(answer, dir.filePath("нет")));
        QCOMPARE(recording->text(), "Запись в файл: " + dir.filePath("обмен.csv"));
        answer = dir.filePath("строки");
        window.findChild<QPushButton*>("save")->click();
        QVERIFY(QFile::exists(answer + ".csv"));
        QCOMPARE(saved->text(), "Файл сохранён: " + answer + ".csv");
    }
};

QTEST_MAIN(TrafficWindowTest)
#include "test_traffic_window.moc"

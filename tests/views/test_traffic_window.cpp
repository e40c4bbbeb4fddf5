#include "frames.h"
#include "traffic/traffic_monitor.h"
#include "views/traffic_window.h"

#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

// «Монитор обмена» at work: rows appear decoded, the filter hides the poll, a pause stops
// following the end, and the 10,001st row drops the first.
class TrafficWindowTest : public QObject {
    Q_OBJECT
private slots:
    void rowsFilterPauseAndLimit() {
        ParamCatalogue catalogue;
        catalogue.BuildParamCatalogue();
        TrafficMonitor monitor(catalogue, u',');
        TrafficWindow window(monitor);
        window.show();
        auto* table = window.findChild<QTableView*>("traffic_table");
        const auto take = [&](bool sent, const char* hex) {
            monitor.take(
                {0, sent, WithCrc(Hex(hex)), sent ? LinkOutcome::FirstSend : LinkOutcome::Ok});
        };
        const auto cell = [&](int row, int column) {
            return table->model()->index(row, column).data().toString();
        };
        take(true, "07 04 01 2C 00 7D");
        take(false, "07 04 00");
        take(true, "07 06 01 92 12 38");
        QTRY_COMPARE(table->model()->rowCount(), 3);
        QCOMPARE(cell(2, 1) + cell(2, 2) + cell(2, 4), ">07 06 01 92 12 38 24 CFКоманда СТАРТ");
        window.findChild<QCheckBox*>("hide_background")->click();
        QCOMPARE(table->model()->rowCount(), 1);
        window.findChild<QCheckBox*>("hide_background")->click();

        window.findChild<QPushButton*>("pause")->click();
        for (int i = 0; i < TrafficRows::kMaxRows - 3; ++i)
            take(true, "07 64 01 00 0A");
        QTRY_COMPARE(table->model()->rowCount(), TrafficRows::kMaxRows);
        QTRY_VERIFY(table->verticalScrollBar()->maximum() > 0);
        QCOMPARE(table->verticalScrollBar()->value(), 0);
        window.findChild<QPushButton*>("pause")->click();
        take(true, "07 64 01 17 01");
        QTRY_COMPARE(cell(TrafficRows::kMaxRows - 1, 4), "Чтение параметров: 23");
        QCOMPARE(table->model()->rowCount(), TrafficRows::kMaxRows);
        QCOMPARE(cell(0, 4), "Ответ на опрос: 0 регистров");
        QTRY_COMPARE(table->verticalScrollBar()->value(), table->verticalScrollBar()->maximum());
    }
};

QTEST_MAIN(TrafficWindowTest)
#include "test_traffic_window.moc"

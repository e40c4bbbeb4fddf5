#include "monitor/number_format.h"

#include <QtTest>

// Rounding and digits; the scales and units of the live values are in the display test.
class NumberFormatTest : public QObject {
    Q_OBJECT
private slots:
    void formatScaled_data() {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("scale");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, qint64 value, int decimals, double scale,
                            const char* expected, char separator = '.', const char* unit = "") {
            QTest::newRow(name) << value << decimals << scale << QChar(separator) << unit
                                << expected;
        };
        const double perHour = 1.0 / 60.0;
        row("2.5 to 2", 5, 0, 0.5, "2 ");
        row("3.5 h to 4", 210, 0, perHour, "4 мч", '.', "мч");
        row("-1.5 h to -2", -90, 0, perHour, "-2 мч", '.', "мч");
        // 2.675 and 2.665 are stored a little below their decimal value; they are still ties.
        row("2.675 to 2.68", 2675, 2, 0.001, "2.68 ");
        row("2.665 to 2.66", 2665, 2, 0.001, "2.66 ");
        row("carry into a new digit", 9995, 2, 0.001, "10 ");
        row("parameter, scale 10", 5, 3, 10.0, "50 ");
        row("no negative zero", -1, 3, 0.0005, "0 ");
        row("tie up at 3 decimals", 3, 3, 0.0005, "0.002 ");
        row("beyond 15 digits", 1234567890123456789LL, 0, 1.0, "1234567890123460000 ");
        row("small fraction", 1, 15, 1e-6, "0.000001 ");
        row("comma", 1234567, 3, 0.0001, "123,457 ", ',');
    }
    void formatScaled() {
        QFETCH(qint64, value);
        QFETCH(int, decimals);
        QFETCH(double, scale);
        QFETCH(QChar, separator);
        QFETCH(QString, unit);
        QTEST(FormatScaled(value, decimals, scale, unit, separator), "expected");
    }
};

QTEST_GUILESS_MAIN(NumberFormatTest)
#include "test_number_format.moc"

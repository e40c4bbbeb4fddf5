#include "monitor/number_format.h"

#include <QtTest>

// Rounding and digits; the scales and units of the live values are in the display test.
class NumberFormatTest : public QObject {
    Q_OBJECT
private slots:
    void formatScaled() {
        const auto f = [](qint64 value, int decimals, double scale, char separator = '.') {
            return FormatScaled(value, decimals, scale, QString(), QLatin1Char(separator));
        };
        // Ties go to the even digit; 2.675 and 2.665 are stored a little below their decimal
        // value and are still ties.
        QCOMPARE((QStringList{f(5, 0, 0.5), f(-3, 0, 0.5), f(3, 3, 0.0005), f(2675, 2, 0.001),
                              f(2665, 2, 0.001)}),
                 (QStringList{"2 ", "-2 ", "0.002 ", "2.68 ", "2.66 "}));
        QCOMPARE(
            (QStringList{f(9995, 2, 0.001), f(5, 3, 10.0), f(-1, 3, 0.0005),
                         f(1234567890123456789LL, 0, 1.0), f(1, 15, 1e-6),
                         f(1234567, 3, 0.0001, ',')}),
            (QStringList{"10 ", "50 ", "0 ", "1234567890123460000 ", "0.000001 ", "123,457 "}));
    }
};

QTEST_GUILESS_MAIN(NumberFormatTest)
#include "test_number_format.moc"

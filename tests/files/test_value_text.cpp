#include "files/value_text.h"

#include <QtTest>
#include <limits>

// A box's text to the value that goes out, for each size, sign and factor. The number read
// before rounding is checked too: at factor 1 a misread "2,5" as 2.6 would still round to 3.
class ValueTextTest : public QObject {
    Q_OBJECT
private slots:
    void textToValue_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::addColumn<int>("size");
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("value");
        const auto row = [](const QString& text, double number, int size, double scale, int value) {
            QTest::addRow("%s at %d/%g", qPrintable(text.left(12)), size, scale)
                << text << number << size << scale << value;
        };
        constexpr double inf = std::numeric_limits<double>::infinity();
        row("12,5 ", 12.5, 2, 0.1, 125);
        row("0,3", 0.3, 2, 0.1, 3); // 2.9999999999999996 before rounding to 15 digits
        row("1,25E1", 12.5, 2, 1.0, 13);
        row("25d-1", 2.5, 2, 1.0, 3);
        row("-2E+2", -200, 2, -1.0, -200);
        row("3e-x", 3, 2, 1.0, 3);
        row("\t- 1\n2", -12, 2, -1.0, -12);
        row("1\r2", 1, 2, 1.0, 1);
        row("5%0", 5, 2, 1.0, 5);
        row("1,2,3", 1.2, 2, 1.0, 1);
        row("\u0661\u0662", 0, 2, 1.0, 0);
        row("&hff", 255, 2, 1.0, 255);
        row("&o78", 7, 2, 1.0, 7);
        row("-2,5", -2.5, 2, -1.0, -3);
        row("-2,5", -2.5, 2, 1.0, 0);
        row("256", 256, 1, 1.0, 255);
        row("128", 128, 1, -1.0, 127);
        row("-129", -129, 1, -1.0, -128);
        row("65536", 65536, 2, 1.0, 65535);
        row("-32769", -32769, 2, -1.0, -32768);
        row("-12,5", -12.5, 2, -0.01, -1250);
        row("5000000000", 5e9, 2, 1.0, 65535);
        row("1e20", 1e20, 2, 1.0, 65535);
        row("1e" + QString(50, '9'), inf, 2, 0.1, 65535);
        row("-9" + QString(400, '9'), -inf, 1, -0.1, -128);
        row("1e-999", 0, 2, 1.0, 0);
        row("0." + QString(500, '0') + "1", 0, 2, 1.0, 0);
    }
    void textToValue() {
        QFETCH(QString, text);
        QFETCH(int, size);
        QFETCH(double, scale);
        QTEST(ParseNumberText(text), "number");
        const ValueRange range = RangeFor(size, scale);
        QTEST(TextToValue(text, range.min, range.max, range.factor), "value");
    }
};

QTEST_GUILESS_MAIN(ValueTextTest)
#include "test_value_text.moc"

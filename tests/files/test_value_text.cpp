#include "files/value_text.h"

#include <QtTest>
#include <cmath>
#include <limits>

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
} // namespace

class ValueTextTest : public QObject {
    Q_OBJECT
private slots:
    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        const auto row = [](const QString& text, double number) {
            QTest::newRow(qPrintable(text.left(20))) << text << number;
        };
        row("12,5 ", 12.5);
        row("1.5,2", 1.5);
        row("\t- 1\n2", -12.0);
        row("1\r2", 1.0);
        row("--7", 0.0);
        row("25d-1", 2.5);
        row("-2E+2", -200.0);
        row("3e-x", 3.0);
        row(".", 0.0);
        row("&hff", 255.0);
        row("&H1G", 1.0);
        row("&HFFFF", 65535.0);
        row("&o78", 7.0);
        row("&", 0.0);
        row("12abc", 12.0);
        row("NaN", 0.0);
        row("inf", 0.0);
        row("\u0661\u0662", 0.0);
        row("-9" + QString(400, '9'), -kInf);
        row("1e-999", 0.0);
        row("1e" + QString(50, '9'), kInf);
        row("0." + QString(500, '0') + "1", 0.0);
    }
    void parse() {
        QFETCH(QString, text);
        QTEST(ParseNumberText(text), "number");
    }

    void round_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("whole");
        QTest::newRow("15 digits carry") << 2.9999999999999996 << 3;
        QTest::newRow("just below half stays") << 2.4999 << 2;
        QTest::newRow("beyond 32 bits") << 3e9 << kMax32;
        QTest::newRow("1e15") << 1e15 << kMax32;
        QTest::newRow("minus infinite") << -kInf << kMin32;
        QTest::newRow("NaN") << std::nan("") << 0;
    }
    void round() {
        QFETCH(double, x);
        QTEST(RoundToWhole(x), "whole");
    }

    // A box's text to the value that goes out, for each size, sign and factor. The number read
    // before rounding is checked too: at factor 1 a misread "2,5" as 2.6 would still round to 3.
    void textToValue_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::addColumn<int>("size");
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("value");
        const auto row = [](const char* text, double number, int size, double scale, int value) {
            QTest::addRow("%s at %d/%g", text, size, scale)
                << QString(text) << number << size << scale << value;
        };
        row("12,5", 12.5, 2, 0.1, 125);
        row("12.5", 12.5, 2, 0.1, 125);
        row("0,3", 0.3, 2, 0.1, 3);
        row("1,25E1", 12.5, 2, 1.0, 13);
        row("5%0", 5, 2, 1.0, 5);
        row("1 000", 1000, 2, 1.0, 1000);
        row("1e3", 1000, 2, 1.0, 1000);
        row("1,2,3", 1.2, 2, 1.0, 1);
        row("&H1F", 31, 2, 1.0, 31);
        row("", 0, 2, 1.0, 0);
        row("abc", 0, 2, 1.0, 0);
        row("2,5", 2.5, 2, 1.0, 3);
        row("-2,5", -2.5, 2, -1.0, -3);
        row("-2,5", -2.5, 2, 1.0, 0);
        row("-0,4", -0.4, 2, -1.0, 0);
        row("300", 300, 1, 1.0, 255);
        row("-200", -200, 1, -1.0, -128);
        row("200", 200, 1, -1.0, 127);
        row("-40000", -40000, 2, -1.0, -32768);
        row("-12,5", -12.5, 2, -0.01, -1250);
        row("1500", 1500, 1, 10.0, 150);
        row("3000", 3000, 1, 6.0, 255);
        row("1e20", 1e20, 2, 1.0, 65535);
        row("1e999", kInf, 2, 0.1, 65535);
        row("-1e999", -kInf, 1, -0.1, -128);
        row("5000000000", 5e9, 2, 1.0, 65535);
        row("999999999999999,9", 999999999999999.9, 2, -1.0, 32767);
        row("-Infinity", 0, 2, -1.0, 0);
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

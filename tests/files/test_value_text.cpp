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
        QTest::newRow("integer") << "42" << 42.0;
        QTest::newRow("shown with comma and blank") << "12,5 " << 12.5;
        QTest::newRow("point") << "12.5" << 12.5;
        QTest::newRow("second comma stops") << "1,2,3" << 1.2;
        QTest::newRow("comma after a point stops") << "1.5,2" << 1.5;
        QTest::newRow("percent cuts") << "50%" << 50.0;
        QTest::newRow("percent inside cuts") << "5%0" << 5.0;
        QTest::newRow("blanks anywhere") << "1 000" << 1000.0;
        QTest::newRow("tab and line feed") << "\t- 1\n2" << -12.0;
        QTest::newRow("carriage return stops") << "1\r2" << 1.0;
        QTest::newRow("plus sign") << "+7" << 7.0;
        QTest::newRow("two signs") << "--7" << 0.0;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("exponent D") << "25d-1" << 2.5;
        QTest::newRow("exponent E signed") << "-2E+2" << -200.0;
        QTest::newRow("exponent without digits") << "3e" << 3.0;
        QTest::newRow("exponent sign without digits") << "3e-x" << 3.0;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("trailing point") << "5." << 5.0;
        QTest::newRow("lone point") << "." << 0.0;
        QTest::newRow("lone sign") << "-" << 0.0;
        QTest::newRow("hexadecimal") << "&H1F" << 31.0;
        QTest::newRow("hexadecimal lower case") << "&hff" << 255.0;
        QTest::newRow("hexadecimal stops") << "&H1G" << 1.0;
        QTest::newRow("hexadecimal 16 bits unsigned") << "&HFFFF" << 65535.0;
        QTest::newRow("octal") << "&O17" << 15.0;
        QTest::newRow("octal stops at 8") << "&o78" << 7.0;
        QTest::newRow("ampersand alone") << "&" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("number then letters") << "12abc" << 12.0;
        QTest::newRow("dash of an unread box") << "-" << 0.0;
        QTest::newRow("not a number word") << "NaN" << 0.0;
        QTest::newRow("infinity word") << "inf" << 0.0;
        QTest::newRow("other script digits") << "\u0661\u0662" << 0.0;
        QTest::newRow("too large for a double") << "1e999" << kInf;
        QTest::newRow("too large, negative") << "-9" + QString(400, '9') << -kInf;
        QTest::newRow("too small for a double") << "1e-999" << 0.0;
        QTest::newRow("endless exponent") << "1e" + QString(50, '9') << kInf;
        QTest::newRow("many zeros then a digit") << "0." + QString(500, '0') + "1" << 0.0;
    }
    void parse() {
        QFETCH(QString, text);
        QFETCH(double, number);
        QCOMPARE(ParseNumberText(text), number);
    }

    void round_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("whole");
        QTest::newRow("half up") << 2.5 << 3;
        QTest::newRow("half down") << -2.5 << -3;
        QTest::newRow("below half") << 0.49 << 0;
        QTest::newRow("negative below half") << -0.4 << 0;
        QTest::newRow("zero") << 0.0 << 0;
        QTest::newRow("15 digits carry") << 2.9999999999999996 << 3;
        QTest::newRow("just below half stays") << 2.4999 << 2;
        QTest::newRow("32-bit top") << 2147483647.0 << kMax32;
        QTest::newRow("beyond 32 bits") << 3e9 << kMax32;
        QTest::newRow("beyond 32 bits negative") << -3e9 << kMin32;
        QTest::newRow("just below 1e15") << 999999999999999.9 << kMax32;
        QTest::newRow("1e15") << 1e15 << kMax32;
        QTest::newRow("infinite") << kInf << kMax32;
        QTest::newRow("minus infinite") << -kInf << kMin32;
        QTest::newRow("NaN") << std::nan("") << 0;
    }
    void round() {
        QFETCH(double, x);
        QFETCH(int, whole);
        QCOMPARE(RoundToWhole(x), whole);
    }

    void textToValue_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("size");
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("value");
        QTest::newRow("0.1: comma") << "12,5" << 2 << 0.1 << 125;
        QTest::newRow("0.1: point") << "12.5" << 2 << 0.1 << 125;
        QTest::newRow("0.1: as shown") << "12,5 " << 2 << 0.1 << 125;
        QTest::newRow("0.1: 0,3 is 3 not 2") << "0,3" << 2 << 0.1 << 3;
        QTest::newRow("percent") << "50%" << 2 << 1.0 << 50;
        QTest::newRow("percent inside") << "5%0" << 2 << 1.0 << 5;
        QTest::newRow("grouped by a blank") << "1 000" << 2 << 1.0 << 1000;
        QTest::newRow("exponent") << "1e3" << 2 << 1.0 << 1000;
        QTest::newRow("two commas") << "1,2,3" << 2 << 1.0 << 1;
        QTest::newRow("hexadecimal") << "&H1F" << 2 << 1.0 << 31;
        QTest::newRow("empty") << "" << 2 << 1.0 << 0;
        QTest::newRow("letters") << "abc" << 2 << 1.0 << 0;
        QTest::newRow("half") << "2,5" << 2 << 1.0 << 3;
        QTest::newRow("negative half, signed") << "-2,5" << 2 << -1.0 << -3;
        QTest::newRow("negative half, unsigned") << "-2,5" << 2 << 1.0 << 0;
        QTest::newRow("0,4") << "0,4" << 2 << 1.0 << 0;
        QTest::newRow("-0,4") << "-0,4" << 2 << -1.0 << 0;
        QTest::newRow("1 byte unsigned, above") << "300" << 1 << 1.0 << 255;
        QTest::newRow("1 byte unsigned, below") << "-1" << 1 << 1.0 << 0;
        QTest::newRow("1 byte signed, below") << "-200" << 1 << -1.0 << -128;
        QTest::newRow("1 byte signed, above") << "200" << 1 << -1.0 << 127;
        QTest::newRow("2 bytes signed, below") << "-40000" << 2 << -1.0 << -32768;
        QTest::newRow("2 bytes signed, 0.01") << "-12,5" << 2 << -0.01 << -1250;
        QTest::newRow("scale 10") << "1500" << 1 << 10.0 << 150;
        QTest::newRow("scale 6") << "3000" << 1 << 6.0 << 255;
        QTest::newRow("huge") << "1e20" << 2 << 1.0 << 65535;
        QTest::newRow("huge negative") << "-1e20" << 2 << -1.0 << -32768;
        QTest::newRow("beyond a double") << "1e999" << 2 << 0.1 << 65535;
        QTest::newRow("beyond a double, negative") << "-1e999" << 1 << -0.1 << -128;
        QTest::newRow("beyond 32 bits") << "5000000000" << 2 << 1.0 << 65535;
        QTest::newRow("just below 1e15") << "999999999999999,9" << 2 << -1.0 << 32767;
        QTest::newRow("NaN-looking text") << "nan" << 2 << -1.0 << 0;
        QTest::newRow("infinity-looking text") << "-Infinity" << 2 << -1.0 << 0;
    }
    void textToValue() {
        QFETCH(QString, text);
        QFETCH(int, size);
        QFETCH(double, scale);
        QFETCH(int, value);
        const ValueRange range = RangeFor(size, scale);
        QCOMPARE(TextToValue(text, range.min, range.max, range.factor), value);
    }

    // The controller's own address is edited in the narrower range of Modbus addresses.
    void ownAddressRange() { QCOMPARE(TextToValue("200", 0, 127, 1.0), 127); }

    void ranges_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<double>("factor");
        QTest::newRow("1 byte unsigned") << 1 << 10.0 << 0 << 255 << 10.0;
        QTest::newRow("1 byte signed") << 1 << -1.0 << -128 << 127 << 1.0;
        QTest::newRow("2 bytes unsigned") << 2 << 0.1 << 0 << 65535 << 0.1;
        QTest::newRow("2 bytes signed") << 2 << -0.01 << -32768 << 32767 << 0.01;
    }
    void ranges() {
        QFETCH(int, size);
        QFETCH(double, scale);
        const ValueRange range = RangeFor(size, scale);
        QTEST(range.min, "min");
        QTEST(range.max, "max");
        QTEST(range.factor, "factor");
    }
};

QTEST_GUILESS_MAIN(ValueTextTest)
#include "test_value_text.moc"

#include "monitor/number_format.h"

#include <QtTest>

class NumberFormatTest : public QObject {
    Q_OBJECT
private slots:
    void formatScaled_data() {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("scale");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("expected");
        const double perHour = 1.0 / 60.0;
        const QString h = QStringLiteral("мч");
        QTest::newRow("whole, scale 1") << 1500LL << 0 << 1.0 << ""
                                        << "."
                                        << "1500 ";
        QTest::newRow("one decimal, point") << 245LL << 1 << 0.1 << ""
                                            << "."
                                            << "24.5 ";
        QTest::newRow("one decimal, comma") << 245LL << 1 << 0.1 << ""
                                            << ","
                                            << "24,5 ";
        QTest::newRow("whole after fractional scale") << 240LL << 1 << 0.1 << ""
                                                      << "."
                                                      << "24 ";
        QTest::newRow("trailing zero dropped") << 2720LL << 2 << 0.01 << ""
                                               << "."
                                               << "27.2 ";
        QTest::newRow("negative fraction") << -10LL << 2 << 0.01 << ""
                                           << "."
                                           << "-0.1 ";
        QTest::newRow("minutes to hours") << 150LL << 0 << perHour << h << "."
                                          << "2 мч";
        QTest::newRow("1.5 h goes to 2") << 90LL << 0 << perHour << h << "."
                                         << "2 мч";
        QTest::newRow("-1.5 h goes to -2") << -90LL << 0 << perHour << h << "."
                                           << "-2 мч";
        QTest::newRow("3.5 h goes to 4") << 210LL << 0 << perHour << h << "."
                                         << "4 мч";
        QTest::newRow("2.5 goes to 2") << 5LL << 0 << 0.5 << ""
                                       << "."
                                       << "2 ";
        QTest::newRow("-2.5 goes to -2") << -5LL << 0 << 0.5 << ""
                                         << "."
                                         << "-2 ";
        QTest::newRow("1092.27 h") << 65536LL << 0 << perHour << h << "."
                                   << "1092 мч";
        // 2.675 and 2.665 are stored a little below their decimal value; they are still ties.
        QTest::newRow("2.675 to 2.68") << 2675LL << 2 << 0.001 << ""
                                       << "."
                                       << "2.68 ";
        QTest::newRow("2.665 to 2.66") << 2665LL << 2 << 0.001 << ""
                                       << "."
                                       << "2.66 ";
        QTest::newRow("0.135 to 0.14") << 135LL << 2 << 0.001 << ""
                                       << "."
                                       << "0.14 ";
        QTest::newRow("carry into a new digit") << 9995LL << 2 << 0.001 << ""
                                                << "."
                                                << "10 ";
        QTest::newRow("parameter, scale 10") << 5LL << 3 << 10.0 << ""
                                             << "."
                                             << "50 ";
        QTest::newRow("parameter, 3 decimals") << 1234567LL << 3 << 0.0001 << ""
                                               << ","
                                               << "123,457 ";
        QTest::newRow("tie below the last decimal") << 1LL << 3 << 0.0005 << ""
                                                    << "."
                                                    << "0 ";
        QTest::newRow("no negative zero") << -1LL << 3 << 0.0005 << ""
                                          << "."
                                          << "0 ";
        QTest::newRow("tie up at 3 decimals") << 3LL << 3 << 0.0005 << ""
                                              << "."
                                              << "0.002 ";
        QTest::newRow("zero") << 0LL << 2 << 0.01 << ""
                              << "."
                              << "0 ";
        QTest::newRow("most negative 16-bit") << -32768LL << 3 << 1.0 << ""
                                              << "."
                                              << "-32768 ";
        QTest::newRow("largest unsigned 32-bit") << 4294967295LL << 0 << 1.0 << ""
                                                 << "."
                                                 << "4294967295 ";
        QTest::newRow("unsigned 32-bit in hours") << 4294967295LL << 0 << perHour << h << "."
                                                  << "71582788 мч";
        QTest::newRow("15 digits") << 999999999999999LL << 0 << 1.0 << ""
                                   << "."
                                   << "999999999999999 ";
        QTest::newRow("beyond 15 digits") << 1234567890123456789LL << 0 << 1.0 << ""
                                          << "."
                                          << "1234567890123460000 ";
        QTest::newRow("small fraction") << 1LL << 15 << 1e-6 << ""
                                        << "."
                                        << "0.000001 ";
    }
    void formatScaled() {
        QFETCH(qint64, value);
        QFETCH(int, decimals);
        QFETCH(double, scale);
        QFETCH(QString, unit);
        QFETCH(QString, separator);
        QFETCH(QString, expected);
        QCOMPARE(FormatScaled(value, decimals, scale, unit, separator.front()), expected);
    }

    void hexPadded_data() {
        QTest::addColumn<uint>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero") << 0u << "0000";
        QTest::newRow("two digits") << 0xA5u << "00A5";
        QTest::newRow("three digits") << 0xABCu << "0ABC";
        QTest::newRow("all ones") << 0xFFFFu << "FFFF";
    }
    void hexPadded() {
        QFETCH(uint, value);
        QFETCH(QString, expected);
        QCOMPARE(HexPadded(value, 4), expected);
    }
};

QTEST_GUILESS_MAIN(NumberFormatTest)
#include "test_number_format.moc"

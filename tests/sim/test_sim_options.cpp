#include "sim_options.h"

#include <QtTest>

class SimOptionsTest : public QObject {
    Q_OBJECT
private slots:
    void everyOptionIsTaken() {
        const ParsedSimOptions parsed = ParseSimOptions(
            {"zarn-sim",      "--link",    "/tmp/ttyZ",     "--address",  "12",
             "--object-type", "1",         "--eeprom-file", "/tmp/e.bin", "--drop",
             "0.3",           "--corrupt", "0.1",           "--split",    "0.05",
             "--delay",       "40",        "--seed",        "1",          "--verbose"});
        QVERIFY2(parsed.error.isEmpty(), qPrintable(parsed.error));
        const SimOptions& o = parsed.options;
        QCOMPARE(o.linkPath, QString("/tmp/ttyZ"));
        QCOMPARE(o.address, 12);
        QCOMPARE(o.objectType, 1);
        QCOMPARE(o.eepromFile, QString("/tmp/e.bin"));
        QCOMPARE(o.dropProbability, 0.3);
        QCOMPARE(o.corruptProbability, 0.1);
        QCOMPARE(o.splitProbability, 0.05);
        QCOMPARE(o.extraDelayMs, 40);
        QCOMPARE(o.seed.value_or(0), 1u);
        QVERIFY(o.verbose);
    }

    void helpDocumentsEveryOption() {
        const ParsedSimOptions parsed = ParseSimOptions({"zarn-sim", "--help"});
        QVERIFY(parsed.helpRequested);
        for (const char* option :
             {"--link", "--device", "--address", "--object-type", "--eeprom-file", "--drop",
              "--corrupt", "--split", "--delay", "--seed", "--verbose"})
            QVERIFY2(parsed.helpText.contains(option), option);
    }

    void badCommandLines_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("errorPart");
        QTest::newRow("address 0") << QStringList{"--address", "0"} << "--address";
        QTest::newRow("address 248") << QStringList{"--address", "248"} << "--address";
        QTest::newRow("drop above 1") << QStringList{"--drop", "1.5"} << "--drop";
        QTest::newRow("negative delay") << QStringList{"--delay", "-5"} << "--delay";
        QTest::newRow("link and device")
            << QStringList{"--link", "/a", "--device", "/b"} << "exclude";
        QTest::newRow("empty link") << QStringList{"--link", ""} << "empty";
        QTest::newRow("unknown option") << QStringList{"--fast"} << "fast";
        QTest::newRow("stray argument") << QStringList{"ttyS0"} << "ttyS0";
    }
    void badCommandLines() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, errorPart);
        const ParsedSimOptions parsed = ParseSimOptions(QStringList{"zarn-sim"} + arguments);
        QVERIFY2(parsed.error.contains(errorPart), qPrintable(parsed.error));
    }
};

QTEST_GUILESS_MAIN(SimOptionsTest)
#include "test_sim_options.moc"

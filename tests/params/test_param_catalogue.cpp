#include "params/param_catalogue.h"

#include <QtTest>

#include <set>

// The catalogue checked against the controller's EEPROM map as written down by hand, not by
// re-deriving it the way the builder does.
class ParamCatalogueTest : public QObject {
    Q_OBJECT

    ParamCatalogue cat;

    void addRow(int index, int address, int size, double scale) {
        QTest::addRow("%d", index) << index << address << size << scale;
    }

private slots:
    void initTestCase() { cat.BuildParamCatalogue(); }

    void entry_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("size");
        QTest::addColumn<double>("scale");
        // The general settings, one by one.
        const double general[37][3] = {
            {256, 1, 1},   {257, 1, 1},  {258, 1, 10}, {259, 1, 10},  {260, 1, 10}, {261, 1, 10},
            {262, 1, 1},   {263, 1, 1},  {264, 1, 1},  {265, 1, 1},   {266, 2, 1},  {283, 1, 1},
            {268, 1, 0.1}, {269, 1, 1},  {270, 1, 1},  {271, 1, 1},   {272, 1, 6},  {273, 1, 1},
            {274, 1, 1},   {275, 1, 1},  {276, 1, 1},  {277, 1, 1},   {278, 1, 10}, {279, 1, 1},
            {285, 1, 1},   {286, 1, 1},  {287, 1, 1},  {320, 1, 1},   {321, 1, 1},  {353, 1, 10},
            {372, 1, 10},  {373, 1, 10}, {374, 1, 6},  {375, 1, 0.1}, {376, 1, 1},  {377, 1, 1},
            {384, 1, 1},
        };
        for (int i = 0; i < 37; ++i)
            addRow(i, int(general[i][0]), int(general[i][1]), general[i][2]);

        addRow(328, 512, 1, -1);
        addRow(329, 513, 1, -1);
        addRow(330, 514, 1, 0.1);
        addRow(331, 515, 1, 1);
        addRow(332, 516, 1, 0.1);
        addRow(333, 517, 1, 1);
        addRow(334, 518, 1, 0.1);
        addRow(335, 519, 1, 1);

        addRow(487, 576, 1, 1);
        addRow(488, 577, 1, 1);
        addRow(489, 578, 2, -0.01);
        addRow(490, 580, 1, 1);
        addRow(491, 581, 1, 1);
        addRow(492, 582, 1, 10);
        addRow(493, 583, 1, 0.1);
        addRow(494, 584, 2, 1);
        addRow(495, 586, 1, 0.1);
        addRow(496, 587, 1, 0.1);
        addRow(497, 588, 1, 1);
        addRow(498, 589, 1, 1);
        addRow(499, 590, 1, 1);
        addRow(500, 591, 1, 1);
        addRow(501, 592, 1, 1);
        addRow(502, 593, 1, 0.1);
        addRow(503, 594, 1, 0.1);
        addRow(504, 595, 1, 0.1);
        addRow(505, 596, 1, 1);

        // Block boundaries and the worked channel examples.
        addRow(37, 0x700, 1, 1);
        addRow(52, 0x70F, 1, 1);
        addRow(53, 0x710, 2, -0.1);
        addRow(69, 0x730, 2, -0.1);
        addRow(76, 0x73E, 2, -0.1);
        addRow(77, 0x740, 1, 1);
        addRow(157, 0x7C0, 1, 1);
        addRow(276, 0x87E, 2, -0.1);
        addRow(277, 385, 1, 1);
        addRow(285, 393, 1, 1);
        addRow(286, 394, 1, 1);
        addRow(295, 403, 1, 1);
        addRow(296, 404, 1, 1);
        addRow(320, 428, 1, 1);
        addRow(327, 435, 1, 1);
        addRow(336, 0xA00, 1, 1);
        addRow(345, 0xA09, 1, 1);
        addRow(470, 0xA86, 1, 1);
        addRow(471, 0xA87, 1, 1);
        addRow(486, 0xA96, 1, 1);
    }
    void entry() {
        QFETCH(int, index);
        QFETCH(int, address);
        QFETCH(int, size);
        QFETCH(double, scale);
        QCOMPARE(int(cat.param_address[index]), address);
        QCOMPARE(int(cat.param_size[index]), size);
        QCOMPARE(cat.param_scale[index], scale);
    }

    // Every channel against its column: type and control code one byte each, the three set
    // points two signed bytes in tenths, each column in its own part of the group's 64 bytes.
    void channelColumns() {
        const int columnOffset[5] = {0, 8, 16, 32, 48};
        const int columnSize[5] = {1, 1, 2, 2, 2};
        for (int g = 0; g < 6; ++g)
            for (int c = 0; c < 5; ++c)
                for (int n = 1; n <= 8; ++n) {
                    const int k = 37 + 40 * g + 8 * c + (n - 1);
                    const int address = 1792 + 64 * g + columnOffset[c] + columnSize[c] * (n - 1);
                    QCOMPARE(int(cat.param_address[k]), address);
                    QCOMPARE(int(cat.param_size[k]), columnSize[c]);
                    QCOMPARE(cat.param_scale[k], c < 2 ? 1.0 : -0.1);
                }
    }

    void blocksAreContiguous_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("channels") << 37 << 276;
        QTest::newRow("relays") << 277 << 327;
        QTest::newRow("heating and pressure") << 328 << 335;
        QTest::newRow("logic") << 336 << 486;
        QTest::newRow("further settings") << 487 << 505;
    }
    void blocksAreContiguous() {
        QFETCH(int, first);
        QFETCH(int, last);
        for (int i = first; i < last; ++i)
            QCOMPARE(int(cat.param_address[i + 1]), cat.param_address[i] + cat.param_size[i]);
    }

    // A block read starting at 266 must stop after parameter 10, because 11 lies elsewhere.
    void generalSettingsBreakAtIndex11() {
        QCOMPARE(cat.param_address[10] + cat.param_size[10], 268);
        QCOMPARE(int(cat.param_address[11]), 283);
        QVERIFY(cat.param_address[11] != cat.param_address[10] + cat.param_size[10]);
    }

    void noAddressByteIsShared() {
        std::set<int> taken;
        for (int i = 0; i < kParamCount; ++i)
            for (int b = 0; b < cat.param_size[i]; ++b) {
                const int byte = cat.param_address[i] + b;
                QVERIFY2(taken.insert(byte).second,
                         qPrintable(QString("byte %1 of entry %2").arg(byte).arg(i)));
            }
        // Everything fits the controller's 4 KiB EEPROM.
        QVERIFY(*taken.rbegin() < 4096);
    }

    void sizesAndFactorsAreKnownOnes() {
        const std::set<double> factors{1, 10, 6, 0.1, -1, -0.1, -0.01};
        for (int i = 0; i < kParamCount; ++i) {
            QVERIFY(cat.param_size[i] == 1 || cat.param_size[i] == 2);
            QVERIFY2(factors.count(cat.param_scale[i]), qPrintable(QString::number(i)));
        }
    }

    // 328 and 329 hold signed bytes: a stored 0xF6 reads as -10 degrees.
    void heatingTemperaturesAreSigned() {
        for (int i : {328, 329}) {
            QVERIFY(cat.param_scale[i] < 0);
            QCOMPARE(int(cat.param_size[i]), 1);
            QCOMPARE(std::int8_t(0xF6) * -cat.param_scale[i], -10.0);
        }
    }

    void rebuildGivesTheSameTables() {
        ParamCatalogue again = cat;
        again.param_address.fill(0xFFFF);
        again.param_size.fill(9);
        again.param_scale.fill(3);
        again.BuildParamCatalogue();
        again.BuildParamCatalogue();
        QVERIFY(again.param_address == cat.param_address);
        QVERIFY(again.param_size == cat.param_size);
        QVERIFY(again.param_scale == cat.param_scale);
    }
};

QTEST_GUILESS_MAIN(ParamCatalogueTest)
#include "test_param_catalogue.moc"

#include "params/param_catalogue.h"

#include <QtTest>

#include <set>

// The catalogue checked against the controller's EEPROM map as written down by hand, not by
// re-deriving it the way the builder does.
class ParamCatalogueTest : public QObject {
    Q_OBJECT

    ParamCatalogue cat;

private slots:
    void initTestCase() { cat.BuildParamCatalogue(); }

    void entry_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("size");
        QTest::addColumn<double>("scale");
        // {index, address, size, scale}: the general settings one by one (11 lies apart, at
        // 283), then the heating and pressure block, the further settings, and the first and
        // last entries of the channel, relay and logic blocks.
        const double map[][4] = {
            {0, 256, 1, 1},       {1, 257, 1, 1},        {2, 258, 1, 10},      {3, 259, 1, 10},
            {4, 260, 1, 10},      {5, 261, 1, 10},       {6, 262, 1, 1},       {7, 263, 1, 1},
            {8, 264, 1, 1},       {9, 265, 1, 1},        {10, 266, 2, 1},      {11, 283, 1, 1},
            {12, 268, 1, 0.1},    {13, 269, 1, 1},       {14, 270, 1, 1},      {15, 271, 1, 1},
            {16, 272, 1, 6},      {17, 273, 1, 1},       {18, 274, 1, 1},      {19, 275, 1, 1},
            {20, 276, 1, 1},      {21, 277, 1, 1},       {22, 278, 1, 10},     {23, 279, 1, 1},
            {24, 285, 1, 1},      {25, 286, 1, 1},       {26, 287, 1, 1},      {27, 320, 1, 1},
            {28, 321, 1, 1},      {29, 353, 1, 10},      {30, 372, 1, 10},     {31, 373, 1, 10},
            {32, 374, 1, 6},      {33, 375, 1, 0.1},     {34, 376, 1, 1},      {35, 377, 1, 1},
            {36, 384, 1, 1},      {328, 512, 1, -1},     {329, 513, 1, -1},    {330, 514, 1, 0.1},
            {331, 515, 1, 1},     {335, 519, 1, 1},      {487, 576, 1, 1},     {489, 578, 2, -0.01},
            {490, 580, 1, 1},     {492, 582, 1, 10},     {493, 583, 1, 0.1},   {494, 584, 2, 1},
            {495, 586, 1, 0.1},   {505, 596, 1, 1},      {37, 0x700, 1, 1},    {52, 0x70F, 1, 1},
            {53, 0x710, 2, -0.1}, {69, 0x730, 2, -0.1},  {76, 0x73E, 2, -0.1}, {77, 0x740, 1, 1},
            {157, 0x7C0, 1, 1},   {276, 0x87E, 2, -0.1}, {277, 385, 1, 1},     {295, 403, 1, 1},
            {296, 404, 1, 1},     {327, 435, 1, 1},      {336, 0xA00, 1, 1},   {345, 0xA09, 1, 1},
            {470, 0xA86, 1, 1},   {471, 0xA87, 1, 1},    {486, 0xA96, 1, 1},
        };
        for (const auto& e : map)
            QTest::addRow("%d", int(e[0])) << int(e[0]) << int(e[1]) << int(e[2]) << e[3];
    }
    void entry() {
        QFETCH(int, index);
        QTEST(int(cat.param_address[index]), "address");
        QTEST(int(cat.param_size[index]), "size");
        QTEST(cat.param_scale[index], "scale");
    }

    void blocksAreContiguous() {
        for (auto [first, last] :
             {std::pair{37, 276}, {277, 327}, {328, 335}, {336, 486}, {487, 505}})
            for (int i = first; i < last; ++i)
                QCOMPARE(int(cat.param_address[i + 1]), cat.param_address[i] + cat.param_size[i]);
    }

    void noAddressByteIsShared() {
        std::set<int> taken;
        for (int i = 0; i < kParamCount; ++i)
            for (int b = 0; b < cat.param_size[i]; ++b)
                QVERIFY2(taken.insert(cat.param_address[i] + b).second,
                         qPrintable(QString::number(i)));
        QVERIFY(*taken.rbegin() < 4096);
    }
};

QTEST_GUILESS_MAIN(ParamCatalogueTest)
#include "test_param_catalogue.moc"

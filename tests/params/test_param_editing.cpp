#include "../link/link_fixture.h"
#include "memory_param_boxes.h"
#include "params/param_editing.h"

#include <QtTest>

class ParamEditingTest : public QObject {
    Q_OBJECT
    ParamCatalogue catalogue;

private slots:
    void initTestCase() { catalogue.BuildParamCatalogue(); }

    void enterWritesExactlyThatParameter_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("frame");
        QTest::newRow("factor 10: 1500") << 2 << "1500"
                                         << "07 65 01 02 01 96";
        QTest::newRow("factor 10: 3000 clamped") << 2 << "3000"
                                                 << "07 65 01 02 01 FF";
        QTest::newRow("signed -0.1: -12,5") << 53 << "-12,5"
                                            << "07 65 07 10 02 FF 83";
        QTest::newRow("signed byte: -10") << 328 << "-10"
                                          << "07 65 02 00 01 F6";
        QTest::newRow("initial dash") << 0 << "-"
                                      << "07 65 01 00 01 00";
        QTest::newRow("shown text with blank") << 12 << "2,5 "
                                               << "07 65 01 0C 01 19";
        QTest::newRow("size 2 -0.01 huge") << 489 << "1e300"
                                           << "07 65 02 42 02 7F FF";
    }
    void enterWritesExactlyThatParameter() {
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(QString, frame);
        LinkFixture link;
        MemoryParamBoxes boxes;
        boxes.texts[index] = text;
        boxes.states[index] = BoxState::FromEeprom;
        QVERIFY(WriteSingleParameter(index, boxes, catalogue, link.cycle));
        QCOMPARE(boxes.states[index], std::optional(BoxState::Changed));
        QCOMPARE(boxes.texts[index], text); // left as typed
        QCOMPARE(link.cycle.request_queue.waiting(), 1);
        QCOMPARE(HexText(link.tick()), HexText(WithCrc(Hex(frame.toLatin1()))));
    }

    void ownAddressIsLimitedShownAndSwitched() {
        LinkFixture link;
        MemoryParamBoxes boxes;
        boxes.texts[23] = "200";
        link.tick(); // poll in flight
        QVERIFY(WriteSingleParameter(23, boxes, catalogue, link.cycle));
        QCOMPARE(boxes.texts[23], QString("127"));
        QCOMPARE(boxes.states[23], std::optional(BoxState::Changed));
        QCOMPARE(HexText(link.answerAndTick("07 04 00")),
                 HexText(WithCrc(Hex("07 65 01 17 01 7F"))));
        QCOMPARE(link.host.address, 127);
    }

    void fullRingRefusesWithoutArmingTheSwitch() {
        LinkFixture link;
        MemoryParamBoxes boxes;
        while (link.cycle.request_queue.freeRoom() > 0)
            QueueCommandWrite(link.cycle.request_queue, 0x789A);
        boxes.texts[23] = "5";
        QVERIFY(!WriteSingleParameter(23, boxes, catalogue, link.cycle));
        QVERIFY(!WriteSingleParameter(2, boxes, catalogue, link.cycle));
        QCOMPARE(link.cycle.request_queue.waiting(), RequestQueue::kCapacity);
        for (int i = 0; i < RequestQueue::kCapacity + 1; ++i)
            link.answerAndTick("07 06 01 92 78 9A");
        QCOMPARE(link.host.address, 7);
    }
};

QTEST_GUILESS_MAIN(ParamEditingTest)
#include "test_param_editing.moc"

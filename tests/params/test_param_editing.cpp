#include "link_rig.h"
#include "memory_param_boxes.h"
#include "params/param_editing.h"

#include <QtTest>

// Enter in one box: the frame that goes to the controller, and the box as the user then sees it.
class ParamEditingTest : public QObject {
    Q_OBJECT
    ParamCatalogue catalogue;

private slots:
    void initTestCase() { catalogue.BuildParamCatalogue(); }

    void enterWritesExactlyThatParameter_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("frame");
        const auto row = [](const char* name, int index, const char* text, const char* frame) {
            QTest::newRow(name) << index << QString(text) << QString(frame);
        };
        row("factor 10: 1500", 2, "1500", "07 65 01 02 01 96");
        row("factor 10: 3000 clamped", 2, "3000", "07 65 01 02 01 FF");
        row("signed -0.1: -12,5", 53, "-12,5", "07 65 07 10 02 FF 83");
        row("signed byte: -10", 328, "-10", "07 65 02 00 01 F6");
        row("initial dash", 0, "-", "07 65 01 00 01 00");
        row("shown text with blank", 12, "2,5 ", "07 65 01 0C 01 19");
        row("size 2 -0.01 huge", 489, "1e300", "07 65 02 42 02 7F FF");
    }
    void enterWritesExactlyThatParameter() {
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(QString, frame);
        LinkRig link;
        MemoryParamBoxes boxes;
        boxes.texts[index] = text;
        boxes.states[index] = BoxState::FromEeprom;
        QVERIFY(WriteSingleParameter(index, boxes, catalogue, link.cycle));
        QCOMPARE(boxes.states[index], std::optional(BoxState::Changed));
        QCOMPARE(boxes.texts[index], text); // left as typed
        QCOMPARE(link.cycle.request_queue.waiting(), 1);
        QCOMPARE(HexText(link.tick()), HexText(WithCrc(Hex(frame.toLatin1()))));
    }

    // The controller's own address is limited to 127, shown so, and the tool follows it once
    // the write is answered; refused on a full ring, it switches nothing.
    void ownAddress() {
        LinkRig link;
        MemoryParamBoxes boxes;
        boxes.texts[23] = "200";
        link.tick(); // poll in flight
        QVERIFY(WriteSingleParameter(23, boxes, catalogue, link.cycle));
        QCOMPARE(boxes.texts[23], QString("127"));
        QCOMPARE(HexText(link.answer("07 04 00")), HexText(WithCrc(Hex("07 65 01 17 01 7F"))));
        QCOMPARE(link.host.address, 127);

        LinkRig full;
        while (full.cycle.request_queue.freeRoom() > 0)
            QueueCommandWrite(full.cycle.request_queue, 0x789A);
        boxes.texts[23] = "5";
        QVERIFY(!WriteSingleParameter(23, boxes, catalogue, full.cycle));
        QCOMPARE(full.cycle.request_queue.waiting(), RequestQueue::kCapacity);
        for (int i = 0; i < RequestQueue::kCapacity + 1; ++i)
            full.answer("07 06 01 92 78 9A");
        QCOMPARE(full.host.address, 7);
    }
};

QTEST_GUILESS_MAIN(ParamEditingTest)
#include "test_param_editing.moc"

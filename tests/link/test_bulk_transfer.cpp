#include "link/bulk_transfer.h"
#include "link_rig.h"
#include "memory_param_boxes.h"

#include <QtTest>

namespace {
// Queues a transfer behind the poll in flight and answers every frame; returns the frames in
// the order they left, without their CRC (refused: none).
QStringList Transfer(const std::function<bool(LinkRig&)>& queue) {
    LinkRig link;
    link.tick();
    QStringList frames;
    if (queue(link))
        for (QByteArray sent = link.answer("07 04 00"); sent[1] != 0x10;
             sent = link.answer("07 65 00"))
            frames << HexText(sent.chopped(2));
    return frames;
}
} // namespace

// The only check of the order of a write-all and of the transfers' refusal as a whole.
class BulkTransferTest : public QObject {
    Q_OBJECT
    ParamCatalogue catalogue;

private slots:
    void initTestCase() { catalogue.BuildParamCatalogue(); }

    void readAllReadsEveryByteOnceIn59Blocks() {
        const QStringList frames = Transfer(
            [this](LinkRig& l) { return ReadAllParameters(l.cycle.request_queue, catalogue); });
        QCOMPARE(frames.size(), 59);
        QCOMPARE(frames.mid(0, 3),
                 (QStringList{"07 64 01 00 0A", "07 64 01 0A 02", "07 64 01 1B 01"}));
        int bytes = 0;
        for (const QString& frame : frames)
            bytes += frame.split(' ')[4].toInt(nullptr, 16);
        QCOMPARE(bytes, 653);
    }

    // Own address (23) and external control (26) leave their blocks and go last; the switch
    // fires as the address write leaves: it still goes to 7, the last frame to 127.
    void writeAllSendsOwnAddressAndExternalControlLast() {
        MemoryParamBoxes boxes;
        boxes.texts.fill("1");
        boxes.texts[22] = "50";  // factor 10 -> 5
        boxes.texts[23] = "200"; // limited to 127
        boxes.texts[24] = "3";
        boxes.texts[25] = "4";
        boxes.texts[53] = "-0,1"; // signed, size 2
        const QStringList frames =
            Transfer([&](LinkRig& l) { return WriteAllParameters(l.cycle, catalogue, boxes); });
        QCOMPARE(frames.size(), 61);
        QVERIFY(frames.contains("07 65 01 16 01 05"));    // block 22-23 carries 22 only
        QVERIFY(frames.contains("07 65 01 1D 02 03 04")); // block 24-26 carries 24 and 25
        QVERIFY(frames.contains("07 65 07 0A 0E 01 01 01 01 01 01 FF FF 00 0A 00 0A 00 0A"));
        QCOMPARE(frames.mid(59), (QStringList{"07 65 01 17 01 7F", "7F 65 01 1F 01 01"}));
    }

    // 60 free places: the write-all needs 61 and changes nothing; the read-all fits once.
    void aTransferThatDoesNotFitIsRefusedWhole() {
        LinkRig link;
        MemoryParamBoxes boxes;
        RequestQueue& ring = link.cycle.request_queue;
        while (ring.freeRoom() > 60)
            QVERIFY(QueueCommandWrite(ring, 0x789A));
        QVERIFY(!WriteAllParameters(link.cycle, catalogue, boxes));
        QVERIFY(QueueCommandWrite(ring, 0x789A));
        QVERIFY(ReadAllParameters(ring, catalogue));
        QVERIFY(!ReadAllParameters(ring, catalogue));
    }
};

QTEST_GUILESS_MAIN(BulkTransferTest)
#include "test_bulk_transfer.moc"

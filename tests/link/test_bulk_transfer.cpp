#include "link/bulk_transfer.h"
#include "link_rig.h"
#include "memory_param_boxes.h"

#include <QtTest>

namespace {
// Sends everything queued behind the poll in flight, answering each frame with an empty echo;
// returns the frames in the order they left.
QList<QByteArray> drain(LinkRig& link) {
    QList<QByteArray> frames;
    for (QByteArray sent = link.answer("07 04 00"); sent[1] != 0x10; sent = link.answer("07 65 00"))
        frames.append(sent);
    return frames;
}

// Whether the frame's block of parameter bytes covers byte address `address`.
bool covers(const QByteArray& frame, int address) {
    const int start = quint8(frame[2]) * 256 + quint8(frame[3]);
    return start <= address && address < start + quint8(frame[4]);
}
} // namespace

// The only check of the order of a write-all and of the transfers' refusal as a whole.
class BulkTransferTest : public QObject {
    Q_OBJECT
    ParamCatalogue catalogue;

private slots:
    void initTestCase() { catalogue.BuildParamCatalogue(); }

    void readAllReadsEveryByteOnceIn59Blocks() {
        LinkRig link;
        link.tick();
        QVERIFY(ReadAllParameters(link.cycle.request_queue, catalogue));
        const QList<QByteArray> frames = drain(link);
        QCOMPARE(frames.size(), 59);
        QCOMPARE(HexText(frames[0]), QString("07 64 01 00 0A 5F 37"));
        QCOMPARE(HexText(frames[1]), HexText(WithCrc(Hex("07 64 01 0A 02"))));
        QCOMPARE(HexText(frames[2]), HexText(WithCrc(Hex("07 64 01 1B 01"))));
        int bytes = 0;
        for (const QByteArray& f : frames)
            bytes += quint8(f[4]);
        for (int i = 0; i < kParamCount; ++i)
            bytes -= catalogue.param_size[i];
        QCOMPARE(bytes, 0);
    }

    void writeAllSendsOwnAddressAndExternalControlLast() {
        LinkRig link;
        link.tick();
        MemoryParamBoxes boxes;
        boxes.texts.fill("1");
        boxes.texts[22] = "50";  // factor 10 -> 5
        boxes.texts[23] = "200"; // own address, limited to 127
        boxes.texts[24] = "3";
        boxes.texts[25] = "4";
        boxes.texts[53] = "-0,1"; // signed, size 2, factor -0.1 -> -1
        QVERIFY(WriteAllParameters(link.cycle, catalogue, boxes));
        const QList<QByteArray> frames = drain(link);
        QCOMPARE(frames.size(), 61);
        QStringList payloads;
        for (const QByteArray& f : frames)
            payloads << HexText(f.mid(1, f.size() - 3));
        QVERIFY(payloads.contains("65 01 16 01 05"));    // block 22-23 carries 22 only
        QVERIFY(payloads.contains("65 01 1D 02 03 04")); // block 24-26 carries 24 and 25
        for (int i = 0; i < 59; ++i)
            QVERIFY2(!covers(frames[i], 0x117) && !covers(frames[i], 0x11F),
                     qPrintable(payloads[i]));
        // The switch fires when the address write leaves: it still goes to 7, the last to 127.
        QCOMPARE(HexText(frames[59]), HexText(WithCrc(Hex("07 65 01 17 01 7F"))));
        QCOMPARE(HexText(frames[60]), HexText(WithCrc(Hex("7F 65 01 1F 01 01"))));
        const auto block = std::find_if(frames.begin(), frames.end(),
                                        [](const QByteArray& f) { return covers(f, 0x710); });
        QVERIFY(block != frames.end());
        QCOMPARE(
            HexText(block->mid(5 + 0x710 - (quint8((*block)[2]) * 256 + quint8((*block)[3])), 2)),
            QString("FF FF"));
    }

    void aTransferThatDoesNotFitIsRefusedWhole() {
        LinkRig link;
        MemoryParamBoxes boxes;
        RequestQueue& ring = link.cycle.request_queue;
        while (ring.freeRoom() > 60)
            QVERIFY(QueueCommandWrite(ring, 0x789A));
        QVERIFY(!WriteAllParameters(link.cycle, catalogue, boxes));
        QCOMPARE(ring.freeRoom(), 60);
        QVERIFY(QueueCommandWrite(ring, 0x789A));
        QVERIFY(ReadAllParameters(ring, catalogue)); // exactly 59
        QVERIFY(!ReadAllParameters(ring, catalogue));
        QCOMPARE(ring.freeRoom(), 0);
    }
};

QTEST_GUILESS_MAIN(BulkTransferTest)
#include "test_bulk_transfer.moc"

#include "link/bulk_transfer.h"
#include "link_fixture.h"
#include "memory_param_boxes.h"

#include <QtTest>

namespace {
// Sends everything queued, answering each frame with an empty echo, and returns the frames in
// the order they left (background requests excluded).
QList<QByteArray> drain(LinkFixture& link) {
    QList<QByteArray> frames;
    QByteArray sent = link.tick();
    while (quint8(sent[1]) != 0x04 && quint8(sent[1]) != 0x10) {
        frames.append(sent);
        link.port.feed(WithCrc(sent.left(2) + Hex("01 00 00")));
        sent = link.tick();
    }
    return frames;
}

QString payloadOf(const QByteArray& frame) {
    return HexText(frame.mid(1, frame.size() - 3));
}
} // namespace

class BulkTransferTest : public QObject {
    Q_OBJECT
    ParamCatalogue catalogue;

private slots:
    void initTestCase() { catalogue.BuildParamCatalogue(); }

    void readAllQueues59BlocksBehindTheFrameInFlight() {
        LinkFixture link;
        link.tick(); // the background poll is in flight
        QVERIFY(ReadAllParameters(link.cycle.request_queue, catalogue));
        QCOMPARE(link.cycle.request_queue.waiting(), 1 + 59);
        link.port.feed(WithCrc(Hex("07 04 00")));
        const QList<QByteArray> frames = drain(link);
        QCOMPARE(frames.size(), 59);
        QCOMPARE(HexText(frames[0]), HexText(WithCrc(Hex("07 64 01 00 0A"))));
        QCOMPARE(HexText(frames[1]), HexText(WithCrc(Hex("07 64 01 0A 02"))));
        QCOMPARE(HexText(frames[2]), HexText(WithCrc(Hex("07 64 01 1B 01"))));
        // Every catalogue byte is read exactly once.
        int bytes = 0;
        for (const QByteArray& f : frames)
            bytes += quint8(f[4]);
        int catalogueBytes = 0;
        for (int i = 0; i < kParamCount; ++i)
            catalogueBytes += catalogue.param_size[i];
        QCOMPARE(bytes, catalogueBytes);
    }

    void writeAllSendsOwnAddressAndExternalControlLast() {
        LinkFixture link;
        MemoryParamBoxes boxes;
        boxes.texts.fill("1");
        boxes.texts[22] = "50";  // factor 10 -> 5
        boxes.texts[23] = "200"; // own address, limited to 127
        boxes.texts[26] = "1";
        boxes.texts[24] = "3";
        boxes.texts[25] = "4";
        boxes.texts[53] = "-0,1"; // size 2, factor -0.1 -> -1
        QVERIFY(WriteAllParameters(link.cycle, catalogue, boxes));
        QCOMPARE(link.cycle.request_queue.waiting(), 61);

        const QList<QByteArray> frames = drain(link);
        QCOMPARE(frames.size(), 61);
        QStringList payloads;
        for (const QByteArray& f : frames)
            payloads << payloadOf(f);
        QVERIFY(payloads.contains("65 01 16 01 05"));    // block 22-23 carries 22 only
        QVERIFY(payloads.contains("65 01 1D 02 03 04")); // block 24-26 carries 24 and 25
        QCOMPARE(payloads[59], QString("65 01 17 01 7F"));
        QCOMPARE(payloads[60], QString("65 01 1F 01 01"));
        // Address 0x117 and 0x11F appear in no block.
        for (int i = 0; i < 59; ++i) {
            const int start = quint8(frames[i][2]) * 256 + quint8(frames[i][3]);
            const int end = start + quint8(frames[i][4]);
            QVERIFY2(!(start <= 0x117 && 0x117 < end) && !(start <= 0x11F && 0x11F < end),
                     qPrintable(payloads[i]));
        }
        // The switch fires when the address write leaves: it still goes to 7, the last to 127.
        QCOMPARE(quint8(frames[59][0]), quint8(7));
        QCOMPARE(quint8(frames[60][0]), quint8(127));
        QCOMPARE(link.host.address, 127);
        // -1 in the signed two-byte box 53 (address 0x710) goes out as FF FF.
        const auto block = std::find_if(frames.begin(), frames.end(), [](const QByteArray& f) {
            const int start = quint8(f[2]) * 256 + quint8(f[3]);
            return start <= 0x710 && 0x710 < start + quint8(f[4]);
        });
        QVERIFY(block != frames.end());
        const int offset = 0x710 - (quint8((*block)[2]) * 256 + quint8((*block)[3]));
        QCOMPARE(HexText(block->mid(5 + offset, 2)), QString("FF FF"));
    }

    void twoWriteAllsQueue122FramesAndATransferThatDoesNotFitIsRefusedWhole() {
        LinkFixture link;
        MemoryParamBoxes boxes;
        QVERIFY(WriteAllParameters(link.cycle, catalogue, boxes));
        QVERIFY(WriteAllParameters(link.cycle, catalogue, boxes));
        QCOMPARE(link.cycle.request_queue.waiting(), 122);

        while (link.cycle.request_queue.freeRoom() > 60)
            QVERIFY(QueueCommandWrite(link.cycle.request_queue, 0x789A));
        const int before = link.cycle.request_queue.waiting();
        QVERIFY(!WriteAllParameters(link.cycle, catalogue, boxes));
        QCOMPARE(link.cycle.request_queue.waiting(), before);
        QVERIFY(QueueCommandWrite(link.cycle.request_queue, 0x789A)); // room for 59 remains
        QVERIFY(ReadAllParameters(link.cycle.request_queue, catalogue));
        QVERIFY(!ReadAllParameters(link.cycle.request_queue, catalogue));
    }
};

QTEST_GUILESS_MAIN(BulkTransferTest)
#include "test_bulk_transfer.moc"

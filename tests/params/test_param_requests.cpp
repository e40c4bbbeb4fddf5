#include "link_rig.h"
#include "params/memory_param_boxes.h"
#include "params/param_requests.h"

#include <QtTest>

// The only check of the frames and the order of a read-all and a write-all.
class ParamRequestsTest : public QObject {
    Q_OBJECT
    const ParamCatalogue& catalogue = Catalogue();

private slots:
    // A read-all reads every byte once, in 59 blocks. A write-all sends own address (23) and
    // external control (26) last, out of their blocks; the switch fires as the address write
    // leaves: it still goes to 7, the last frame to 127.
    void readAllThenWriteAll() {
        MemoryParamBoxes boxes;
        boxes.texts.fill("1");
        boxes.texts[22] = "50";  // factor 10 -> 5
        boxes.texts[23] = "200"; // limited to 127
        boxes.texts[24] = "3";
        boxes.texts[25] = "4";
        boxes.texts[53] = "-0,1"; // signed, size 2
        LinkRig link;
        link.tick();
        QVERIFY(link.cycle.queueAll(ReadAllRequests(catalogue)));
        QVERIFY(link.cycle.queueAll(WriteAllRequests(catalogue, boxes)));
        QStringList frames; // without their CRC
        for (QByteArray sent = link.answer("07 04 00"); sent[1] != 0x10;
             sent = link.answer("07 65 00"))
            frames << HexText(sent.chopped(2));
        QCOMPARE(frames.size(), 59 + 61);
        QCOMPARE(frames.mid(0, 3),
                 (QStringList{"07 64 01 00 0A", "07 64 01 0A 02", "07 64 01 1B 01"}));
        int bytes = 0;
        for (const QString& frame : frames.mid(0, 59))
            bytes += frame.split(' ')[4].toInt(nullptr, 16);
        QCOMPARE(bytes, 653);
        QVERIFY(frames.contains("07 65 01 16 01 05"));    // block 22-23 carries 22 only
        QVERIFY(frames.contains("07 65 01 1D 02 03 04")); // block 24-26 carries 24 and 25
        QVERIFY(frames.contains("07 65 07 0A 0E 01 01 01 01 01 01 FF FF 00 0A 00 0A 00 0A"));
        QCOMPARE(frames.mid(118), (QStringList{"07 65 01 17 01 7F", "7F 65 01 1F 01 01"}));
    }
};

QTEST_GUILESS_MAIN(ParamRequestsTest)
#include "test_param_requests.moc"

#include "frames.h"
#include "rtu_framer.h"

#include <QtTest>

// CRCs written out (worked by hand from the Modbus polynomial), so a fault in the simulator's
// own CRC shows here as a "bad" frame.
static const QString kPoll = "07 04 01 2C 00 7D F0 78", kCommand = "07 06 01 92 12 38 24 CF";
static const QString kSpoiled = "07 04 01 2C 00 7D F0 79", kUnknown = "07 2B 0E 01 00 F8 77";

class RtuFramerTest : public QObject {
    Q_OBJECT
private slots:
    // Bursts arrive 5 ms apart, more than the framer's silence of 2 ms.
    void streams_data() {
        QTest::addColumn<QStringList>("bursts");
        QTest::addColumn<QStringList>("frames");
        const auto row = [](const char* name, const QStringList& bursts,
                            const QStringList& frames) { QTest::newRow(name) << bursts << frames; };
        const QStringList known{kPoll, kCommand, "07 10 01 90 00 02 04 00 01 00 00 B8 1B",
                                "07 64 01 00 14 DF 3F", "07 65 01 0A 02 07 D0 F8 41"};
        row("every function ends where it says", {known.join(' ')}, known);
        row("unknown function ends at a silence", {kUnknown}, {kUnknown});
        row("bad CRC: rest of the burst dropped, next one found",
            {kSpoiled + ' ' + kCommand, kCommand}, {"bad " + kSpoiled, kCommand});
        row("request cut short by a silence dropped", {kPoll.left(14), kCommand}, {kCommand});
        row("noise glued to a request spoils it", {"00 " + kPoll}, {"bad 00 " + kPoll});
        row("garbage longer than any frame", {QString(600, 'A'), kPoll}, {kPoll});
    }
    void streams() {
        QFETCH(QStringList, bursts);
        RtuFramer framer;
        QStringList seen;
        std::int64_t now = 1000000;
        const auto note = [&](const QList<RtuFramer::Frame>& found) {
            for (const auto& f : found)
                seen << (f.crc_ok ? "" : "bad ") + HexText(f.bytes);
        };
        for (const QString& burst : bursts)
            note(framer.push(Hex(qPrintable(burst)), now += 5000));
        note(framer.idle(now + 1000000));
        QTEST(seen, "frames");
    }
};

QTEST_GUILESS_MAIN(RtuFramerTest)
#include "test_rtu_framer.moc"

#include "frames.h"
#include "rtu_framer.h"

#include <QtTest>

namespace {
// Bytes arrive 100 µs apart unless a row says otherwise; the framer's silence is 2 ms.
constexpr std::int64_t kByteGapUs = 100;

QStringList framesOf(RtuFramer& framer, const QList<QByteArray>& bursts, std::int64_t gapUs) {
    QStringList seen;
    std::int64_t now = 1000000;
    for (const QByteArray& burst : bursts) {
        for (const auto& f : framer.push(burst, now))
            seen << (f.crcOk ? "" : "bad ") + HexText(f.bytes);
        now += gapUs;
    }
    for (const auto& f : framer.idle(now + 1000000))
        seen << (f.crcOk ? "" : "bad ") + HexText(f.bytes);
    return seen;
}

QList<QByteArray> byteByByte(const QByteArray& bytes) {
    QList<QByteArray> single;
    for (char c : bytes)
        single << QByteArray(1, c);
    return single;
}
} // namespace

class RtuFramerTest : public QObject {
    Q_OBJECT
private slots:
    void requestsEndWhereTheirFunctionSays_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::newRow("4 poll") << WithCrc(Hex("07 04 01 2C 00 7D"));
        QTest::newRow("6 command") << WithCrc(Hex("07 06 01 92 12 38"));
        QTest::newRow("16 transaction") << WithCrc(Hex("07 10 01 90 00 02 04 00 01 00 00"));
        QTest::newRow("100 read parameters") << WithCrc(Hex("07 64 01 00 14"));
        QTest::newRow("101 write parameters") << WithCrc(Hex("07 65 01 0A 02 07 D0"));
        QTest::newRow("101 with no data") << WithCrc(Hex("07 65 01 0A 00"));
    }
    void requestsEndWhereTheirFunctionSays() {
        QFETCH(QByteArray, request);
        RtuFramer framer;
        // Complete on its last byte, without waiting for a silence.
        const auto frames = framer.push(request, 0);
        QCOMPARE(frames.size(), 1);
        QCOMPARE(HexText(frames.first().bytes), HexText(request));
        QVERIFY(frames.first().crcOk);
        QCOMPARE(framer.silenceDeadline(), -1);

        RtuFramer slow;
        QCOMPARE(framesOf(slow, byteByByte(request), kByteGapUs), QStringList{HexText(request)});
    }

    void streams_data() {
        QTest::addColumn<QList<QByteArray>>("bursts");
        QTest::addColumn<qint64>("gapUs");
        QTest::addColumn<QStringList>("frames");
        const QByteArray poll = WithCrc(Hex("07 04 01 2C 00 7D"));
        const QByteArray command = WithCrc(Hex("07 06 01 92 12 38"));
        QByteArray spoiled = poll;
        spoiled[7] = char(spoiled[7] ^ 0x01);

        QTest::newRow("two requests back to back") << QList<QByteArray>{poll + command} << qint64(0)
                                                   << QStringList{HexText(poll), HexText(command)};
        QTest::newRow("unknown function ends at a silence")
            << QList<QByteArray>{WithCrc(Hex("07 2B 0E 01 00"))} << qint64(0)
            << QStringList{HexText(WithCrc(Hex("07 2B 0E 01 00")))};
        QTest::newRow("bad CRC is reported, the rest of the burst dropped")
            << QList<QByteArray>{spoiled + command} << qint64(0)
            << QStringList{"bad " + HexText(spoiled)};
        QTest::newRow("after a silence the next request is found again")
            << QList<QByteArray>{spoiled + command, command} << qint64(5000)
            << QStringList{"bad " + HexText(spoiled), HexText(command)};
        QTest::newRow("request cut short by a silence is dropped")
            << QList<QByteArray>{poll.left(5), command} << qint64(5000)
            << QStringList{HexText(command)};
        QTest::newRow("a lone noise byte before a request")
            << QList<QByteArray>{Hex("FF"), poll} << qint64(5000) << QStringList{HexText(poll)};
        QTest::newRow("noise glued to a request spoils it")
            << QList<QByteArray>{Hex("00") + poll} << qint64(0)
            << QStringList{"bad " + HexText(Hex("00") + poll)};
        QTest::newRow("garbage longer than any frame")
            << QList<QByteArray>{QByteArray(600, char(0x55)), poll} << qint64(5000)
            << QStringList{HexText(poll)};
        QTest::newRow("two bytes are no frame")
            << QList<QByteArray>{Hex("07 2B")} << qint64(0) << QStringList{};
    }
    void streams() {
        QFETCH(QList<QByteArray>, bursts);
        QFETCH(qint64, gapUs);
        QFETCH(QStringList, frames);
        RtuFramer framer;
        QCOMPARE(framesOf(framer, bursts, gapUs), frames);
    }

    void silenceDeadlineFollowsTheLastByte() {
        RtuFramer framer(2000);
        QVERIFY(framer.push(Hex("07 2B"), 500).isEmpty());
        QCOMPARE(framer.silenceDeadline(), qint64(2500));
        QVERIFY(framer.idle(2499).isEmpty());
        QVERIFY(framer.push(Hex("00"), 2000).isEmpty());
        QCOMPARE(framer.silenceDeadline(), qint64(4000));
    }
};

QTEST_GUILESS_MAIN(RtuFramerTest)
#include "test_rtu_framer.moc"

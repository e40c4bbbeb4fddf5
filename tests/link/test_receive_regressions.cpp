#include "link_fixture.h"

#include <QtTest>

// Inputs the receive-path fuzzer found, replayed on the link the way the controller and the user
// would produce them.
class ReceiveRegressionsTest : public QObject {
    Q_OBJECT
private slots:
    // A frame with a correct CRC can be waiting before the tool has sent anything: a late answer
    // to a session just ended, or line noise that happens to check. It answers no request, so
    // the ring stays put; advancing the empty ring made it look full of blank frames that no
    // controller answers, and the link never got going.
    void answerBeforeTheFirstSendMovesNothing_data() {
        QTest::addColumn<QByteArray>("waiting");
        QTest::newRow("poll answer") << WithCrc(Hex("07 04 02 00 00"));
        QTest::newRow("three bytes, as found") << WithCrc(Hex("04"));
        QTest::newRow("exception answer") << WithCrc(Hex("07 84 02"));
    }
    void answerBeforeTheFirstSendMovesNothing() {
        QFETCH(QByteArray, waiting);
        LinkFixture link;
        link.port.feed(waiting);
        QCOMPARE(HexText(link.tick()), QString("07 04 01 2C 00 7D F0 78"));
        QCOMPARE(link.cycle.request_queue.waiting(), 1);
        QCOMPARE(HexText(link.answerAndTick("07 04 02 00 00")),
                 QString("07 10 01 90 00 02 04 00 01 00 00 B8 1B"));
        QVERIFY(QueueCommandWrite(link.cycle.request_queue, 0x1238));
        QCOMPARE(HexText(link.answerAndTick("07 10 01 90 00 02")),
                 QString("07 06 01 92 12 38 24 CF"));
    }
};

QTEST_GUILESS_MAIN(ReceiveRegressionsTest)
#include "test_receive_regressions.moc"

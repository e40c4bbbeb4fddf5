#include "fault_injector.h"
#include "frames.h"
#include "rtu_framer.h"

#include <QtTest>

namespace {
QList<int> fates(FaultInjector& faults, int count) {
    QList<int> seen;
    for (int i = 0; i < count; ++i) {
        const auto plan = faults.next();
        seen << (plan.drop ? 1 : 0) + (plan.corrupt ? 2 : 0) + (plan.split ? 4 : 0);
    }
    return seen;
}
} // namespace

class FaultInjectorTest : public QObject {
    Q_OBJECT
private slots:
    void sameSeedSameFaults() {
        FaultInjector a(0.3, 0.1, 0.2, 1);
        FaultInjector b(0.3, 0.1, 0.2, 1);
        FaultInjector c(0.3, 0.1, 0.2, 2);
        const QList<int> first = fates(a, 200);
        QCOMPARE(fates(b, 200), first);
        QVERIFY(fates(c, 200) != first);
    }

    void ratesFollowTheProbabilities_data() {
        QTest::addColumn<double>("probability");
        QTest::newRow("never") << 0.0;
        QTest::newRow("three in ten") << 0.3;
        QTest::newRow("always") << 1.0;
    }
    void ratesFollowTheProbabilities() {
        QFETCH(double, probability);
        FaultInjector faults(probability, probability, probability, 7);
        constexpr int kDraws = 10000;
        int drops = 0, corrupts = 0, splits = 0;
        for (int i = 0; i < kDraws; ++i) {
            const auto plan = faults.next();
            drops += plan.drop;
            corrupts += plan.corrupt;
            splits += plan.split;
        }
        for (int count : {drops, corrupts, splits})
            QVERIFY2(qAbs(count - probability * kDraws) <= 0.02 * kDraws,
                     qPrintable(QString::number(count)));
    }

    void corruptedAnswerFailsItsCheckButKeepsItsData() {
        const QByteArray answer = WithCrc(Hex("07 06 01 92 12 38"));
        const QByteArray spoiled = FaultInjector::Corrupted(answer);
        QCOMPARE(spoiled.size(), answer.size());
        QCOMPARE(spoiled.left(6), answer.left(6));
        QVERIFY(HasGoodCrc(answer));
        QVERIFY(!HasGoodCrc(spoiled));
    }
};

QTEST_GUILESS_MAIN(FaultInjectorTest)
#include "test_fault_injector.moc"

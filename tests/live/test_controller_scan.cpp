#include "link_rig.h"
#include "live/controller_scan.h"

#include <QtTest>

namespace {
// The controller at `slave` answering the poll read with these registers.
QByteArray PollAnswerOf(int slave, const Registers& registers) {
    QByteArray frame = PollFrame(registers).chopped(2);
    frame[0] = char(slave);
    return WithCrc(frame);
}
QString ProbeTo(int slave) {
    return HexText(WithCrc(QByteArray(1, char(slave)) + Hex("04 01 2C 00 7D")));
}
const Registers kDra = {{0, 0x0203}, {1, 0x0107}, {2, 1}, {73, 0}, {74, 6000}};
const Registers kDgu = {{0, 0x0105}, {1, 0x0302}, {2, 0}, {73, 1}, {74, 0}};

// A link at address 7 whose poll is in flight, the scan on it, and every frame written.
struct ScanRig {
    LinkRig link;
    ControllerScan scan{link.cycle, QLatin1Char(',')};
    QStringList sent;
    QStringList found;

    ScanRig() {
        link.tick();
        scan.on_found = [this](const FoundController& c) {
            found << QStringLiteral("%1 %2 %3 %4 %5")
                         .arg(c.address)
                         .arg(c.object_type, c.sw_ver, c.pr_ver, c.motomin);
        };
    }
    // What the frame now in flight gets back, then the tick and the scan's turn.
    void tick(const QByteArray& arrived = {}) {
        link.port.feed(arrived);
        sent << HexText(link.tick());
        scan.follow();
    }
    int inFlight() const { return sent.isEmpty() ? 7 : Hex(qPrintable(sent.last()))[0]; }
};
} // namespace

class ControllerScanTest : public QObject {
    Q_OBJECT
private slots:
    // One poll read to each address 1..127, one tick each, right after the chosen controller's
    // poll; only the probed slave's own whole answer counts (slave 7 answering the probe of 5,
    // an exception from 9, a frame cut short from 20 find nothing); the found ones never reach the
    // live picture; then the exchange goes on at address 7.
    void scansEveryAddressOnce() {
        ScanRig rig;
        QVERIFY(rig.scan.begin());
        rig.tick(PollAnswerOf(7, kDgu));
        const QByteArray chosen = rig.link.decoded.value(0);
        while (rig.scan.running() && rig.sent.size() < 200) {
            const int probed = rig.inFlight();
            rig.tick(probed == 3     ? PollAnswerOf(3, kDra)
                     : probed == 5   ? PollAnswerOf(7, kDgu)
                     : probed == 9   ? WithCrc(Hex("09 84 04"))
                     : probed == 20  ? PollAnswerOf(20, kDra).chopped(1)
                     : probed == 127 ? PollAnswerOf(127, kDgu)
                                     : QByteArray());
        }
        QStringList probes;
        for (int slave = 1; slave <= 127; ++slave)
            probes << ProbeTo(slave);
        QCOMPARE(rig.sent.mid(0, 127), probes);
        QCOMPARE(rig.sent.value(127), QString("07 10 01 90 00 02 04 00 01 00 00 B8 1B"));
        QCOMPARE(rig.found, (QStringList{"3 ДРА 1.7 2.3 100 мч", "127 ДГУ 3.2 1.5 1092 мч"}));
        QCOMPARE(rig.link.decoded, QList<QByteArray>{chosen});
        QCOMPARE(rig.link.host.address, 7);
        QCOMPARE(ScanEndText(rig.scan),
                 QString("Поиск контроллеров окончен: найдено 2 контроллера (адреса 3, 127)"));
        QCOMPARE(FoundLine(rig.scan.found().front()), QString("3;ДРА;1.7;2.3"));
        QCOMPARE(FoundText(rig.scan.found().front()),
                 QString("Найден контроллер: адрес 3, ДРА, версия ПО 1.7, версия протокола 2.3, "
                         "общая наработка 100 мч"));
    }

    // Stopped, the scan sends what it had queued and lets the polls of address 7 go on; begun
    // again, it starts from address 1 and lists nothing the stopped one's probes brought.
    void stopsAndBeginsAgain() {
        ScanRig rig;
        QVERIFY(rig.scan.begin());
        rig.tick(PollAnswerOf(7, kDgu));
        for (int i = 0; i < 3; ++i)
            rig.tick();
        rig.scan.stop();
        QVERIFY(!rig.scan.running());
        QCOMPARE(ScanEndText(rig.scan),
                 QString("Поиск контроллеров остановлен на адресе 3: контроллеры не найдены"));
        QVERIFY(rig.scan.begin());
        rig.tick();
        rig.tick(PollAnswerOf(5, kDra));
        rig.tick();
        rig.tick();
        QCOMPARE(rig.sent.mid(3),
                 (QStringList{ProbeTo(4), ProbeTo(5), ProbeTo(1), ProbeTo(2), ProbeTo(3)}));
        QCOMPARE(rig.found, QStringList());
        QCOMPARE(rig.scan.done(), 2);
    }
};

QTEST_GUILESS_MAIN(ControllerScanTest)
#include "test_controller_scan.moc"

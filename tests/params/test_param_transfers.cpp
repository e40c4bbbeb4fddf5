#include "link_rig.h"
#include "memory_param_boxes.h"
#include "params/param_transfers.h"
#include "scripted_messages.h"

#include <QtTest>
#include <functional>

namespace {
// A controller at address 7 whose 506 values were all read ("1"), ring empty.
struct Rig {
    LinkRig link;
    ParamCatalogue catalogue;
    MemoryParamBoxes boxes;
    ScriptedMessages messages;
    ParamTransfers transfers{link.cycle, catalogue, boxes, messages};

    Rig() {
        catalogue.BuildParamCatalogue();
        for (int i = 0; i < kParamCount; ++i) {
            boxes.setText(i, QStringLiteral("1"));
            boxes.setState(i, BoxState::FromEeprom);
        }
    }
    void leaveRoom(int frames) {
        while (link.cycle.request_queue.freeRoom() > frames)
            QueuePollRead(link.cycle.request_queue);
    }
    // The next `count` frames as they leave, each answered, address byte first.
    QList<QByteArray> send(int count) {
        QList<QByteArray> sent{link.tick()};
        while (sent.size() < count)
            sent.append(link.answer());
        return sent;
    }
};

// Slave address of each frame, marked "*" where it writes the controller's own address (279).
QString Addresses(const QList<QByteArray>& frames) {
    QStringList out;
    for (const QByteArray& f : frames)
        out.append(QString::number(uchar(f[0])) +
                   (f.mid(1, 3) == QByteArray::fromHex("650117") ? QStringLiteral("*") : ""));
    return out.join(' ');
}

using Step = std::function<void(Rig&)>;
} // namespace

class ParamTransfersTest : public QObject {
    Q_OBJECT
private slots:
    // A refused transfer changes no box and no colour and queues nothing; the reason stays on
    // screen in a warning box until the user closes it.
    void refusedTransfersChangeNothingAndSayWhy_data() {
        QTest::addColumn<Step>("setup");
        QTest::addColumn<Step>("action");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        const QString full = QStringLiteral("Очередь запросов переполнена");
        const QString fullText = QStringLiteral("Ничего не отправлено в контроллер.\r\n"
                                                "Повторите, когда очередь запросов освободится.");
        QTest::addRow("write-all over three unread boxes")
            << Step([](Rig& r) {
                   for (int i : {0, 23, 505})
                       r.boxes.texts[i] = QStringLiteral("-");
               })
            << Step([](Rig& r) { r.transfers.writeAll(); }) << QStringLiteral("Запись не начата")
            << QStringLiteral("Параметров без значения («-»): 3.\r\n"
                              "Прочитайте их из контроллера или из файла и повторите запись.");
        QTest::addRow("write-all, room for 60 frames")
            << Step([](Rig& r) { r.leaveRoom(60); }) << Step([](Rig& r) { r.transfers.writeAll(); })
            << full << fullText;
        QTest::addRow("read-all button, room for 58 frames")
            << Step([](Rig& r) { r.leaveRoom(58); })
            << Step([](Rig& r) { r.transfers.readAll(true); }) << full << fullText;
        QTest::addRow("Enter, ring full")
            << Step([](Rig& r) { r.leaveRoom(0); })
            << Step([](Rig& r) { r.transfers.writeOne(23); }) << full << fullText;
        QTest::addRow("Enter in a box showing -")
            << Step([](Rig& r) { r.boxes.texts[40] = QStringLiteral(" -"); })
            << Step([](Rig& r) { r.transfers.writeOne(40); }) << QString() << QString();
    }
    void refusedTransfersChangeNothingAndSayWhy() {
        QFETCH(Step, setup);
        QFETCH(Step, action);
        QFETCH(QString, title);
        QFETCH(QString, text);
        Rig r;
        setup(r);
        const MemoryParamBoxes before = r.boxes;
        const int waiting = r.link.cycle.request_queue.waiting();
        action(r);
        QCOMPARE(r.link.cycle.request_queue.waiting(), waiting);
        QVERIFY(r.boxes.texts == before.texts);
        QVERIFY(r.boxes.states == before.states);
        QCOMPARE(r.messages.shown.size(), title.isEmpty() ? 0 : 1);
        if (title.isEmpty())
            return;
        QCOMPARE(r.messages.shown[0].icon, MessageIcon::Warning);
        QCOMPARE(r.messages.shown[0].buttons, MessageButtons::Ok);
        QCOMPARE(r.messages.shown[0].title, title);
        QCOMPARE(r.messages.shown[0].text, text);
    }

    // Each armed switch of the slave address fires when its own address write leaves: every
    // address write goes to the address in force before it, every frame after it to the new one.
    void everyAddressWriteSwitchesTheLinkAtItsOwnSlot() {
        Rig twice;
        twice.boxes.setText(23, QStringLiteral("100"));
        twice.transfers.writeAll();
        twice.transfers.writeAll();
        QCOMPARE(Addresses(twice.send(124)), QString("7 ").repeated(59) + "7* 100 " +
                                                 QString("100 ").repeated(59) + "100* 100 100 100");

        Rig thenEnter;
        thenEnter.boxes.setText(23, QStringLiteral("100"));
        thenEnter.transfers.writeAll();
        thenEnter.boxes.setText(23, QStringLiteral("50"));
        thenEnter.transfers.writeOne(23);
        QCOMPARE(Addresses(thenEnter.send(63)), QString("7 ").repeated(59) + "7* 100 100* 50");
    }
};

QTEST_GUILESS_MAIN(ParamTransfersTest)
#include "test_param_transfers.moc"

#include "link_rig.h"
#include "params/memory_param_boxes.h"
#include "params/param_description.h"
#include "params/param_transfers.h"
#include "params/transfer_progress.h"
#include "params/write_check.h"
#include "scripted_messages.h"

#include <QtTest>
#include <functional>
#include <numeric>

namespace {
// A controller at address 7 whose 506 values were all read ("1"), ring empty.
struct Rig {
    LinkRig link;
    const ParamCatalogue& catalogue = Catalogue();
    MemoryParamBoxes boxes;
    ScriptedMessages messages;
    ParamTransfers transfers{link.cycle, link, catalogue, boxes, messages};

    Rig() {
        boxes.texts.fill(QStringLiteral("1"));
        boxes.states.fill(BoxState::FromEeprom);
    }
    // Slave addresses of the next frames, answered, "*" where one writes the own address.
    QString addresses(int count) {
        QStringList out;
        for (QByteArray f = link.tick(); out.size() < count; f = link.answer())
            out << QString::number(uchar(f[0])) + (f.mid(1, 3) == Hex("65 01 17") ? "*" : "");
        return out.join(' ');
    }
};

using Step = std::function<void(Rig&)>;
} // namespace

class ParamTransfersTest : public QObject {
    Q_OBJECT
private slots:
    // Enter: the box turns white and that parameter leaves in its place, size, sign and factor
    // (the ends of each block of the map); the own address is limited to 127, shown so.
    void enterWritesThatParameter_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QString>("shown");
        const auto row = [](int index, const char* text, const char* frame,
                            const char* shown = nullptr) {
            QTest::addRow("%d: %s", index, text)
                << index << QString(text) << Hex(frame) << QString(shown ? shown : text);
        };
        row(2, "1500", "07 65 01 02 01 96");
        row(10, "1000", "07 65 01 0A 02 03 E8");
        row(11, "5", "07 65 01 1B 01 05");
        row(12, "2,5 ", "07 65 01 0C 01 19");
        row(23, "200", "07 65 01 17 01 7F", "127");
        row(37, "4", "07 65 07 00 01 04");
        row(53, "-12,5", "07 65 07 10 02 FF 83");
        row(276, "25,6", "07 65 08 7E 02 01 00");
        row(327, "1", "07 65 01 B3 01 01");
        row(328, "-10", "07 65 02 00 01 F6");
        row(486, "8", "07 65 0A 96 01 08");
        row(489, "1e300", "07 65 02 42 02 7F FF");
        row(494, "300", "07 65 02 48 02 01 2C");
        row(505, "6", "07 65 02 54 01 06");
    }
    void enterWritesThatParameter() {
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(QByteArray, frame);
        Rig r;
        r.boxes.texts[index] = text;
        r.transfers.writeOne(index);
        QCOMPARE(r.boxes.states[index], BoxState::Changed);
        QTEST(r.boxes.texts[index], "shown");
        QCOMPARE(r.link.cycle.waiting(), 1);
        QCOMPARE(HexText(r.link.tick()), HexText(WithCrc(frame)));
    }

    // A refused transfer changes no box, queues nothing and says why in a warning box.
    void refusedTransfersChangeNothingAndSayWhy_data() {
        QTest::addColumn<int>("room");
        QTest::addColumn<QList<int>>("unread");
        QTest::addColumn<Step>("action");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        const auto row = [](const char* name, int room, QList<int> unread, Step action,
                            QString title, QString text) {
            QTest::newRow(name) << room << unread << action << title << text;
        };
        const QString full = "Очередь запросов переполнена",
                      fullText = "Ничего не отправлено в контроллер.\r\nПовторите, когда очередь "
                                 "запросов освободится.";
        const QString unread = "Параметров без значения («-»): 3.\r\nПрочитайте их из контроллера "
                               "или из файла и повторите запись.";
        // The backup step would cancel silently: both refusals must come before it.
        const Step writeAll = [](Rig& r) { r.transfers.writeAll([] { return false; }); };
        const Step readAll = [](Rig& r) { r.transfers.readAll(true); };
        const Step enter = [](Rig& r) { r.transfers.writeOne(23); };
        row("write-all over unread boxes", 512, {0, 23, 505}, writeAll, "Запись не начата", unread);
        row("write-all, room for 60 frames", 60, {}, writeAll, full, fullText);
        row("read-all, room for 58 frames", 58, {}, readAll, full, fullText);
        row("Enter, ring full", 0, {}, enter, full, fullText);
        row("Enter in a box showing -", 512, {23}, enter, {}, {});
    }
    void refusedTransfersChangeNothingAndSayWhy() {
        QFETCH(int, room);
        QFETCH(QList<int>, unread);
        QFETCH(Step, action);
        QFETCH(QString, title);
        QFETCH(QString, text);
        Rig r;
        for (int i : unread)
            r.boxes.texts[i] = " -";
        while (r.link.cycle.freeRoom() > room)
            r.link.cycle.queue(PollRequest());
        const MemoryParamBoxes before = r.boxes;
        const int waiting = r.link.cycle.waiting();
        action(r);
        QCOMPARE(r.link.cycle.waiting(), waiting);
        QVERIFY(r.boxes.texts == before.texts && r.boxes.states == before.states);
        QVERIFY(r.messages.showedOnly(MessageIcon::Warning, MessageButtons::Ok, title, text,
                                      title.isEmpty() ? 0 : 1));
    }

    // Each address write goes to the address in force before it, every frame after it to the new.
    void everyAddressWriteSwitchesTheLinkAtItsOwnSlot() {
        Rig twice;
        twice.boxes.texts[23] = "100";
        twice.transfers.writeAll();
        twice.transfers.writeAll();
        QCOMPARE(twice.addresses(124), QString("7 ").repeated(59) + "7* 100 " +
                                           QString("100 ").repeated(59) + "100* 100 100 100");
        Rig thenEnter;
        thenEnter.boxes.texts[23] = "100";
        thenEnter.transfers.writeAll();
        thenEnter.boxes.texts[23] = "50";
        thenEnter.transfers.writeOne(23);
        QCOMPARE(thenEnter.addresses(63), QString("7 ").repeated(59) + "7* 100 100* 50");
    }

    // A transfer's progress counts its own frames once those queued ahead of it are through,
    // and ends with its last answer.
    void progressCountsTheTransfersOwnFrames() {
        Rig r;
        TransferProgress progress;
        const auto seen = [&](int answers) {
            for (int i = 0; i < answers; ++i)
                r.link.answer("07 65 01 02 01 96");
            const std::optional<TransferState> state = progress.now(r.link.cycle);
            return state ? TransferText(*state) : QString("—");
        };
        r.transfers.writeAll();
        progress.begin(TransferStep::Writing, r.link.cycle, 61);
        r.link.tick();
        QCOMPARE(seen(1), QString("Запись всех параметров: 1 из 61 запроса"));
        r.transfers.readAll(false);
        progress.begin(TransferStep::Checking, r.link.cycle, 59);
        QCOMPARE(seen(60), QString("Проверка записи: 0 из 59 запросов"));
        QCOMPARE(seen(58), QString("Проверка записи: 58 из 59 запросов"));
        QCOMPARE(seen(1), QString("—"));
    }

    // The read-back check's verdict names each parameter stored otherwise, with the value
    // written and the value stored as the boxes show them, the first ten, then how many more.
    void writeCheckNamesWhatWasStoredOtherwise_data() {
        QTest::addColumn<QList<int>>("limited");
        QTest::addColumn<QList<int>>("unreported");
        QTest::addColumn<QStringList>("lines");
        const QString five = "5 «" + ParamDescription(5) + "»: записано 2500, ";
        QTest::newRow("none") << QList<int>{} << QList<int>{}
                              << QStringList{"Проверка записи: все 506 параметров записаны верно"};
        QTest::newRow("signed, unreported")
            << QList<int>{53} << QList<int>{5}
            << QStringList{"Проверка записи: не совпали 2 параметра",
                           five + "контроллер не сообщил значение",
                           "53 «" + ParamDescription(53) + "»: записано -12,5, сохранено 2000"};
        QStringList many{"Проверка записи: не совпали 22 параметра"};
        for (int i = 100; i < 110; ++i)
            many << QString("%1 «%2»: записано 2500, сохранено 2000")
                        .arg(i)
                        .arg(ParamDescription(i));
        many << "и ещё 12 параметров";
        QList<int> twentyTwo(22);
        std::iota(twentyTwo.begin(), twentyTwo.end(), 100);
        QTest::newRow("22") << twentyTwo << QList<int>{} << many;
    }
    void writeCheckNamesWhatWasStoredOtherwise() {
        QFETCH(QList<int>, limited);
        QFETCH(QList<int>, unreported);
        Rig r;
        r.boxes.texts.fill("2500");
        r.boxes.texts[53] = "-12,5";
        const StoredValues expected = ExpectedAfterWriteAll(r.catalogue, r.boxes);
        ControllerImage image;
        for (int i = 0; i < kParamCount; ++i)
            if (!unreported.contains(i)) {
                const std::int32_t stored = limited.contains(i) ? 2000 : expected[i];
                image.take(7, {{i, QString::number(stored) + " ", stored}});
            }
        const QList<int> notStored = NotStoredAsWritten(expected, image);
        QTEST(QStringList{WriteCheckText(notStored)} +
                  WriteCheckDetails(notStored, expected, image, r.catalogue, ','),
              "lines");
    }
};

QTEST_GUILESS_MAIN(ParamTransfersTest)
#include "test_param_transfers.moc"

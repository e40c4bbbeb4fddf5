#include "fake_serial_port.h"
#include "file_bytes.h"
#include "files/file_location_picker.h"
#include "frames.h"
#include "monitor/answer_dispatch.h"
#include "params/param_editor.h"
#include "params/param_window.h"
#include "recording_host.h"
#include "scripted_messages.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

// The parameter window at work on a link with an in-memory line: what the controller receives
// and what the boxes show.
class ParamEditorTest : public QObject {
    Q_OBJECT

    struct Link {
        FakeSerialPort port;
        RecordingHost host;
        AnswerDispatch dispatch{host, QChar(',')};
        ExchangeCycle cycle{port, host, dispatch};
        QByteArray tick() {
            port.written.clear();
            cycle.ExchangeTick();
            return port.written.value(0);
        }
    };

    struct Fixture {
        Link link;
        ParamCatalogue catalogue;
        ScriptedMessages messages;
        ParamEditor editor{link.cycle, catalogue, link.host, messages, QChar(','), nullptr};

        Fixture() {
            catalogue.BuildParamCatalogue();
            link.dispatch.paramAnswer = [this](const RxBuffer& rx) { editor.showAnswer(rx); };
            link.port.open();
            link.tick(); // the background poll is in flight
        }
        ~Fixture() { delete editor.window(); }
        ParamWindow& window() { return *editor.window(); }
        QLineEdit* box(int i) { return window().box(i); }
        QColor colour(int i) { return box(i)->palette().color(QPalette::Base); }
        // Answers the frame in flight with `answer` and returns the next frame sent.
        QByteArray answer(const char* hex) {
            link.port.feed(WithCrc(Hex(hex)));
            return link.tick();
        }
    };

    static QColor rgb(BoxState state) { return QColor::fromRgb(BoxStateRgb(state)); }

private slots:
    void openingReadsEverythingAndAnswersFillTheBoxes() {
        Fixture f;
        f.editor.open();
        QVERIFY(f.window().isVisible());
        QCOMPARE(f.link.cycle.request_queue.waiting(), 1 + 59);
        QCOMPARE(HexText(f.answer("07 04 00")), HexText(WithCrc(Hex("07 64 01 00 0A"))));
        f.answer("07 64 01 00 0A 32 01 0F 1E 96 14 3C 00 02 03");
        QCOMPARE(f.box(0)->text(), QString("50 "));
        QCOMPARE(f.box(2)->text(), QString("150 "));
        QCOMPARE(f.box(4)->text(), QString("1500 "));
        for (int i = 0; i < 10; ++i)
            QCOMPARE(f.colour(i), rgb(BoxState::FromEeprom));
        QVERIFY(f.colour(10) != rgb(BoxState::FromEeprom));
        f.answer("07 64 01 0C 01 7B"); // an answer is shown whatever was asked
        QCOMPARE(f.box(12)->text(), QString("12,3 "));

        f.editor.open(); // opening again queues the whole read again
        QCOMPARE(f.link.cycle.request_queue.waiting(), 57 + 59);
    }

    void typingWhitensAndEnterWritesThatParameter() {
        Fixture f;
        f.editor.open();
        f.box(2)->setFocus();
        f.box(2)->selectAll();
        QTest::keyClicks(f.box(2), "1500");
        QCOMPARE(f.colour(2), rgb(BoxState::Changed));
        QTest::keyClick(f.box(2), Qt::Key_Escape);
        QCOMPARE(f.box(2)->text(), QString("1500"));
        const int waiting = f.link.cycle.request_queue.waiting();
        QTest::keyClick(f.box(2), Qt::Key_Return);
        QCOMPARE(f.link.cycle.request_queue.waiting(), waiting + 1);
        for (int i = 0; i < 1 + 59; ++i)
            f.answer("07 64 00 00 00");
        QCOMPARE(HexText(f.link.port.written.last()), HexText(WithCrc(Hex("07 65 01 02 01 96"))));
        f.answer("07 65 01 02 01 96");
        QCOMPARE(f.box(2)->text(), QString("1500 "));
        QCOMPARE(f.colour(2), rgb(BoxState::FromEeprom));
    }

    void bulkButtonsWhitenEveryBoxAndQueueTheTransfer() {
        Fixture f;
        f.editor.open();
        f.answer("07 04 00");
        f.answer("07 64 01 00 0A 32 01 0F 1E 96 14 3C 00 02 03");
        f.window().writeAllButton()->click();
        for (int i = 0; i < kParamCount; ++i)
            QCOMPARE(f.colour(i), rgb(BoxState::Changed));
        QCOMPARE(f.link.cycle.request_queue.waiting(), 58 + 61);
        f.window().readAllButton()->click();
        QCOMPARE(f.link.cycle.request_queue.waiting(), 58 + 61 + 59);

        while (f.link.cycle.request_queue.freeRoom() >= 59)
            QueueCommandWrite(f.link.cycle.request_queue, 0x789A);
        const int waiting = f.link.cycle.request_queue.waiting();
        f.window().readAllButton()->click();
        QCOMPARE(f.link.cycle.request_queue.waiting(), waiting);
        QCOMPARE(f.link.host.status, link_text::kQueueFull);
    }

    void fileButtonsSaveAndCompareInThePickersFolder() {
        QTemporaryDir folder;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(folder.path());
        Fixture f;
        f.editor.open();
        QDir::setCurrent(previous);
        QCOMPARE(f.window().filePicker()->currentFolder(), folder.path());

        f.box(5)->setText("12,5 ");
        f.window().findChild<QLineEdit*>("Text3")->setText("p.ini");
        f.window().saveFileButton()->click();
        QVERIFY(f.messages.shown.isEmpty());
        const QByteArray content = FileBytes(folder.filePath("p.ini"));
        QVERIFY(content.startsWith("[Parameters]\r\nPAR0=-\r\nPAR1=-\r\n"));
        QVERIFY(content.contains("\r\nPAR5=12,5 \r\n"));
        QCOMPARE(f.colour(5), rgb(BoxState::FromFile));

        f.box(6)->setText("7");
        f.window().compareButton()->click();
        QCOMPARE(f.colour(5), rgb(BoxState::MatchesFile));
        QCOMPARE(f.colour(6), rgb(BoxState::DiffersFromFile));
        QCOMPARE(f.link.host.status, QString());
    }
};

QTEST_MAIN(ParamEditorTest)
#include "test_param_editor.moc"

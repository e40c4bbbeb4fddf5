#include "frames.h"
#include "monitor/answer_dispatch.h"
#include "recording_host.h"

#include <QtTest>

namespace {
const QString kOk = QStringLiteral("Связь с контроллером ЗАРН установлена");

RxBuffer bufferOf(const QByteArray& bytes) {
    RxBuffer rx;
    for (int i = 0; i < bytes.size(); ++i)
        rx.rx_buffer[i] = static_cast<std::uint8_t>(bytes[i]);
    rx.rx_count = static_cast<int>(bytes.size());
    return rx;
}

// A dispatcher that counts what reached the poll display and the parameter boxes.
struct Dispatch {
    RecordingHost status;
    AnswerDispatch dispatch{status, QLatin1Char('.')};
    int polls = 0;
    int paramAnswers = 0;

    Dispatch() {
        status.setText(kOk);
        dispatch.showPoll = [this](const PollPicture&) { ++polls; };
        dispatch.paramAnswer = [this](const RxBuffer&) { ++paramAnswers; };
    }
    void decode(const char* hex) { dispatch.DecodeAnswer(bufferOf(WithCrc(Hex(hex)))); }
};
} // namespace

class AnswerDispatchTest : public QObject {
    Q_OBJECT
private slots:
    void exceptionIsAppendedToTheStatusLine_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("expected");
        QTest::newRow("poll refused") << "07 84 02" << kOk + " Нарушение протокола, код: 2";
        QTest::newRow("parameter write refused")
            << "07 E5 0B" << kOk + " Нарушение протокола, код: 11";
        QTest::newRow("code 255") << "07 FF FF" << kOk + " Нарушение протокола, код: 255";
    }
    void exceptionIsAppendedToTheStatusLine() {
        QFETCH(QString, answer);
        QFETCH(QString, expected);
        Dispatch d;
        d.decode(answer.toLatin1().constData());
        QCOMPARE(d.status.text(), expected);
        QCOMPARE(d.polls + d.paramAnswers, 0);
    }

    void otherFunctionsChangeNothing_data() {
        QTest::addColumn<QString>("answer");
        QTest::newRow("function 3") << "07 03 02 00 01";
        QTest::newRow("command echo") << "07 06 01 92 12 38";
        QTest::newRow("transaction echo") << "07 10 01 90 00 02";
        QTest::newRow("function 127") << "07 7F 00";
    }
    void otherFunctionsChangeNothing() {
        QFETCH(QString, answer);
        Dispatch d;
        d.decode(answer.toLatin1().constData());
        QCOMPARE(d.status.statusHistory, QStringList{kOk});
        QCOMPARE(d.polls + d.paramAnswers, 0);
    }

    void eachAnswerGoesToItsConsumer() {
        Dispatch d;
        d.decode("07 04 02 00 00");
        QCOMPARE(d.polls, 1);
        d.decode("07 64 00 10 01 05");
        d.decode("07 65 00 10 01 05");
        QCOMPARE(d.paramAnswers, 2);
        QCOMPARE(d.polls, 1);
        QCOMPARE(d.status.text(), kOk);
    }
};

QTEST_GUILESS_MAIN(AnswerDispatchTest)
#include "test_answer_dispatch.moc"

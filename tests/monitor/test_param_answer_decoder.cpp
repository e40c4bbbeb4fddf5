#include "frames.h"
#include "memory_param_boxes.h"
#include "monitor/param_answer_decoder.h"

#include <QtTest>

class ParamAnswerDecoderTest : public QObject {
    Q_OBJECT
    ParamCatalogue catalogue;

private slots:
    void initTestCase() { catalogue.BuildParamCatalogue(); }

    void answersFillTheirBoxesGreen_data() {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QStringList>("expected"); // "index=text" in order
        QTest::newRow("sizes 1 and 2 in one answer")
            << "07 64 01 09 03 04 05 DC" << QChar('.') << QStringList{"9=4 ", "10=1500 "};
        QTest::newRow("write answer like a read")
            << "07 65 01 09 03 04 05 DC" << QChar('.') << QStringList{"9=4 ", "10=1500 "};
        QTest::newRow("factor 10") << "07 64 01 02 01 05" << QChar('.') << QStringList{"2=50 "};
        QTest::newRow("factor 0.1, point")
            << "07 64 01 0C 01 19" << QChar('.') << QStringList{"12=2.5 "};
        QTest::newRow("factor 0.1, comma")
            << "07 64 01 0C 01 19" << QChar(',') << QStringList{"12=2,5 "};
        QTest::newRow("signed 2 bytes -32768 x 0.1")
            << "07 64 07 10 02 80 00" << QChar(',') << QStringList{"53=-3276,8 "};
        QTest::newRow("unsigned 2 bytes 32768")
            << "07 64 01 0A 02 80 00" << QChar('.') << QStringList{"10=32768 "};
        QTest::newRow("signed byte F6")
            << "07 64 02 00 01 F6" << QChar('.') << QStringList{"328=-10 "};
        QTest::newRow("signed 2 bytes FF FE scale -0.01")
            << "07 64 02 42 02 FF FE" << QChar('.') << QStringList{"489=-0.02 "};
        QTest::newRow("N = 0") << "07 64 01 09 00" << QChar('.') << QStringList{};
        QTest::newRow("unknown address") << "07 64 01 18 01 05" << QChar('.') << QStringList{};
        QTest::newRow("runs past the last parameter")
            << "07 64 02 54 04 01 02 03 04" << QChar('.') << QStringList{"505=1 "};
    }
    void answersFillTheirBoxesGreen() {
        QFETCH(QString, frame);
        QFETCH(QChar, separator);
        QFETCH(QStringList, expected);
        MemoryParamBoxes boxes;
        ShowParamAnswer(RxOf(WithCrc(Hex(qPrintable(frame)))), catalogue, boxes, separator);
        QStringList shown;
        for (int i = 0; i < kParamCount; ++i) {
            if (boxes.texts[i] != "-") {
                shown << QString("%1=%2").arg(i).arg(boxes.texts[i]);
                QCOMPARE(boxes.states[i], std::optional(BoxState::FromEeprom));
            } else {
                QVERIFY(!boxes.states[i].has_value());
            }
        }
        QCOMPARE(shown, expected);
    }

    void answerRunningPastTheBufferStopsAtItsEnd() {
        // A bogus count of 255 from parameter 0 on: only parameters whose bytes lie inside the
        // 256 cells are shown, the rest stay untouched.
        // Parameter 37 (0x700) is the first channel entry.
        const RxBuffer rx = RxOf(Hex("01 64 07 00 FF") + QByteArray(251, '\x01'));
        const QList<ParamValueText> values = DecodeParamAnswer(rx, catalogue, '.');
        QVERIFY(!values.isEmpty());
        int lastCell = 5;
        for (const ParamValueText& v : values)
            lastCell += catalogue.param_size[v.index];
        QVERIFY(lastCell <= 256);
        QVERIFY(lastCell + catalogue.param_size[values.last().index + 1] > 256);
    }
};

QTEST_GUILESS_MAIN(ParamAnswerDecoderTest)
#include "test_param_answer_decoder.moc"

#include "frames.h"
#include "memory_param_boxes.h"
#include "monitor/param_answer_decoder.h"

#include <QtTest>

class ParamAnswerDecoderTest : public QObject {
    Q_OBJECT
    ParamCatalogue catalogue;

private slots:
    void initTestCase() { catalogue.BuildParamCatalogue(); }

    // Each answer fills its boxes (shown "index=text") and colours them as read from the EEPROM;
    // the others keep "-" and no colour.
    void answersFillTheirBoxesGreen_data() {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const char* frame, const char* expected) {
            QTest::newRow(name) << QString(frame) << QString(expected);
        };
        row("sizes 1 and 2 in one answer", "07 64 01 09 03 04 05 DC", "9=4 10=1500 ");
        row("write answer like a read", "07 65 01 09 03 04 05 DC", "9=4 10=1500 ");
        row("factor 10", "07 64 01 02 01 05", "2=50 ");
        row("factor 0.1, comma", "07 64 01 0C 01 19", "12=2,5 ");
        row("signed 2 bytes -32768 x 0.1", "07 64 07 10 02 80 00", "53=-3276,8 ");
        row("unsigned 2 bytes 32768", "07 64 01 0A 02 80 00", "10=32768 ");
        row("signed byte F6", "07 64 02 00 01 F6", "328=-10 ");
        row("signed 2 bytes FF FE x -0.01", "07 64 02 42 02 FF FE", "489=-0,02 ");
        row("N = 0", "07 64 01 09 00", "");
        row("unknown address", "07 64 01 18 01 05", "");
        row("runs past the last parameter", "07 64 02 54 04 01 02 03 04", "505=1 ");
        // A bogus count from parameter 37 (0x700) on: only the parameters inside the 256 cells.
        row("runs past the buffer", qPrintable("01 64 07 00 FF" + QString(" 01").repeated(251)),
            "...192=25,7 193=25,7 ");
    }
    void answersFillTheirBoxesGreen() {
        QFETCH(QString, frame);
        MemoryParamBoxes boxes;
        ShowParamAnswer(RxOf(WithCrc(Hex(qPrintable(frame)))), catalogue, boxes, QLatin1Char(','));
        QString shown;
        for (int i = 0; i < kParamCount; ++i) {
            if (boxes.texts[i] != "-")
                shown += QString("%1=%2").arg(i).arg(boxes.texts[i]);
            QCOMPARE(boxes.states[i],
                     boxes.texts[i] != "-" ? std::optional(BoxState::FromEeprom) : std::nullopt);
        }
        QFETCH(QString, expected); // "..." : what the end of the boxes shown must be
        QVERIFY2(expected.startsWith("...") ? shown.endsWith(expected.mid(3)) : shown == expected,
                 qPrintable(shown));
    }
};

QTEST_GUILESS_MAIN(ParamAnswerDecoderTest)
#include "test_param_answer_decoder.moc"

#include "frames.h"
#include "params/memory_param_boxes.h"
#include "params/param_answer_decoder.h"

#include <QtTest>

class ParamAnswerDecoderTest : public QObject {
    Q_OBJECT
private slots:
    // An answer fills its boxes ("index=text") in the EEPROM colour, the others keep "-": sizes 1
    // and 2, a write answer, factors 10 and 0.1, 0x8000 signed and unsigned, a signed byte, factor
    // -0.01, none, an unknown address, past the last parameter, past the buffer (its end shown).
    void answersFillTheirBoxesGreen() {
        const ParamCatalogue& catalogue = Catalogue();
        const QString pastTheBuffer = "01 64 07 00 FF" + QString(" 01").repeated(251);
        const QStringList frames{
            "07 64 01 09 03 04 05 DC", "07 65 01 09 03 04 05 DC",    "07 64 01 02 01 05",
            "07 64 01 0C 01 19",       "07 64 07 10 02 80 00",       "07 64 01 0A 02 80 00",
            "07 64 02 00 01 F6",       "07 64 02 42 02 FF FE",       "07 64 01 09 00",
            "07 64 01 18 01 05",       "07 64 02 54 04 01 02 03 04", pastTheBuffer};
        QStringList seen;
        for (const QString& frame : frames) {
            MemoryParamBoxes boxes;
            ShowParamAnswer(RxOf(WithCrc(Hex(qPrintable(frame)))), catalogue, boxes,
                            QLatin1Char(','));
            QString shown; // a box changed but not coloured, or coloured but not changed, gets "?"
            for (int i = 0; i < kParamCount; ++i)
                if (boxes.texts[i] != "-" || boxes.states[i])
                    shown += QString("%1=%2%3").arg(i).arg(
                        boxes.texts[i], boxes.states[i] == BoxState::FromEeprom ? "" : "?");
            seen << (frame == pastTheBuffer ? shown.right(18) : shown);
        }
        QCOMPARE(seen, (QStringList{"9=4 10=1500 ", "9=4 10=1500 ", "2=50 ", "12=2,5 ",
                                    "53=-3276,8 ", "10=32768 ", "328=-10 ", "489=-0,02 ", "", "",
                                    "505=1 ", "192=25,7 193=25,7 "}));
    }
};

QTEST_GUILESS_MAIN(ParamAnswerDecoderTest)
#include "test_param_answer_decoder.moc"

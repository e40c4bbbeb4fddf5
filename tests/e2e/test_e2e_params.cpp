#include "files/value_text.h"
#include "params/param_window.h"
#include "tool_session.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// The whole tool against the simulator over a pseudo-terminal: the parameter window reads all
// parameters, the user changes boxes of every kind, writes them all and reads them back. What
// the controller then holds is checked in its EEPROM image, byte by byte.
class E2eParamsTest : public QObject {
    Q_OBJECT

    struct Session : ToolSession {
        ParamCatalogue catalogue;

        Session() { catalogue.BuildParamCatalogue(); }

        ParamWindow* window() { return tool->window().findChild<ParamWindow*>("frm_param"); }
        QColor colour(int i) { return window()->box(i)->palette().color(QPalette::Base); }
        bool allGreen() {
            for (int i = 0; i < kParamCount; ++i)
                if (colour(i) != QColor::fromRgb(BoxStateRgb(BoxState::FromEeprom)))
                    return false;
            return true;
        }
        // The integer box i stands for, as the write-all converts it.
        int valueOf(int i) {
            const ValueRange r = RangeFor(catalogue.param_size[i], catalogue.param_scale[i]);
            return TextToValue(window()->text(i), r.min, r.max, r.factor);
        }
        int storedValue(const QByteArray& image, int i) {
            const int a = catalogue.param_address[i];
            int v = quint8(image[a]);
            if (catalogue.param_size[i] == 2)
                v = v * 256 + quint8(image[a + 1]);
            if (catalogue.param_scale[i] < 0 && v >= (catalogue.param_size[i] == 2 ? 32768 : 128))
                v -= catalogue.param_size[i] == 2 ? 65536 : 256;
            return v;
        }
    };

    // New values for a spread of boxes: every size, sign and factor, typed in the user's ways.
    static QMap<int, QString> changes() {
        return {{0, "80"},      {2, "1230"},   {12, "23,4"}, {16, "1530"},  {23, "7"},
                {26, "1"},      {10, "65535"}, {37, "3"},    {53, "-12,5"}, {54, "85.5"},
                {69, "-40,1"},  {276, "99,9"}, {328, "-10"}, {329, "5"},    {489, "-1,23"},
                {494, "&H3FF"}, {336, "5"},    {486, "96"},  {320, "12"},   {493, "1,2 "}};
    }

    static void runRoundTrip(const QStringList& faults) {
        Session s;
        QVERIFY2(s.start(QStringList{"--eeprom-file", s.sim.filePath("eeprom.bin")} + faults),
                 qPrintable(s.errorText()));
        s.tool->window().findChild<QAction*>("mnu_param")->trigger();
        QVERIFY(s.window() && s.window()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(s.allGreen(), 60000);

        const QMap<int, QString> edits = changes();
        for (auto it = edits.begin(); it != edits.end(); ++it)
            s.window()->box(it.key())->setText(it.value());
        QMap<int, int> expected;
        for (int i = 0; i < kParamCount; ++i)
            expected[i] = s.valueOf(i);

        s.window()->writeAllButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(s.allGreen(), 60000);
        s.window()->readAllButton()->click();
        QVERIFY(!s.allGreen());
        QTRY_VERIFY_WITH_TIMEOUT(s.allGreen(), 60000);

        QFile eeprom(s.sim.filePath("eeprom.bin"));
        QVERIFY(eeprom.open(QIODevice::ReadOnly));
        const QByteArray image = eeprom.readAll();
        QCOMPARE(image.size(), 4096);
        for (int i = 0; i < kParamCount; ++i) {
            QCOMPARE(s.storedValue(image, i), expected[i]);
            QCOMPARE(s.valueOf(i), expected[i]); // and the box shows what is stored
        }
        QCOMPARE(s.window()->text(12), QString("23,4 "));
        QCOMPARE(s.window()->text(53), QString("-12,5 "));
        QCOMPARE(s.window()->text(494), QString("1023 "));
        QCOMPARE(s.tool->window().findChild<QWidget*>("cmb_slad")->property("currentIndex"), 7);
    }

private slots:
    void readChangeWriteReadBack() { runRoundTrip({}); }
    void sameEndStateOnANoisyLine() {
        runRoundTrip({"--drop", "0.3", "--corrupt", "0.1", "--seed", "5"});
    }
};

QTEST_MAIN(E2eParamsTest)
#include "test_e2e_params.moc"

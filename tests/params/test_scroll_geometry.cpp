#include "params/scroll_geometry.h"

#include <QtTest>

// The parameter window's size limits and scroll bars, in twips, for windows whose borders and
// title bar take 120 twips across and 480 down.
class ScrollGeometryTest : public QObject {
    Q_OBJECT

    static ScrollGeometry For(int width, int height) {
        return ComputeScrollGeometry({width, height}, {width - 120, height - 480});
    }

private slots:
    // The size the window is held to, and the bars laid out for it; the content is always
    // taller than the window may be. A horizontal maximum of -1 means no horizontal bar.
    void limitsAndBars_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("limitedWidth");
        QTest::addColumn<int>("limitedHeight");
        QTest::addColumn<int>("verticalMaximum");
        QTest::addColumn<int>("horizontalMaximum");
        const auto row = [](const char* name, int w, int h, int lw, int lh, int v, int hz) {
            QTest::newRow(name) << w << h << lw << lh << v << hz;
        };
        row("too high", 10000, 16000, 10000, 14100, 705, 12405);
        row("too low", 10000, 3000, 10000, 4000, 10805, 12405);
        row("too wide", 25000, 8000, 22400, 8000, 6805, -1);
        row("too narrow", 5000, 8000, 7000, 8000, 6805, 15405);
        row("within", 15000, 9000, 15000, 9000, 5805, 7405);
        row("laptop", 20490, 11100, 20490, 11100, 3705, 1915);
        row("last width with the bar", 22209, 9000, 22209, 9000, 5805, 196);
        row("first width without", 22210, 9000, 22210, 9000, 5805, -1);
    }
    void limitsAndBars() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, limitedWidth);
        QFETCH(int, limitedHeight);
        QFETCH(int, horizontalMaximum);
        const ScrollGeometry g = For(width, height);
        QCOMPARE(g.outer, (TwipSize{limitedWidth, limitedHeight}));
        QCOMPARE(g.inner, (TwipSize{limitedWidth - 120, limitedHeight - 480}));
        QVERIFY(g.vertical.visible);
        QTEST(g.vertical.maximum, "verticalMaximum");
        QCOMPARE(g.horizontal.visible, horizontalMaximum >= 0);
        if (g.horizontal.visible)
            QCOMPARE(g.horizontal.maximum, horizontalMaximum);
    }

    // Whatever the size, the largest bar values bring the content's far edges into view beside
    // the bars.
    void everythingReachable_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        for (int width : {7000, 10000, 15000, 20490, 22209})
            for (int height : {4000, 8000, 11100, 14100})
                QTest::addRow("%d x %d", width, height) << width << height;
    }
    void everythingReachable() {
        QFETCH(int, width);
        QFETCH(int, height);
        const ScrollGeometry g = For(width, height);
        QVERIFY(ContentTop(g.vertical.maximum) + kContentHeight <= g.horizontal.top);
        QVERIFY(ContentLeft(g.horizontal.maximum) + kContentWidth <= g.vertical.left);
    }
};

QTEST_GUILESS_MAIN(ScrollGeometryTest)
#include "test_scroll_geometry.moc"

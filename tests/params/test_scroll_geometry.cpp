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
    void sizeLimits_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("limitedWidth");
        QTest::addColumn<int>("limitedHeight");
        QTest::newRow("too high") << 10000 << 16000 << 10000 << 14100;
        QTest::newRow("too low") << 10000 << 3000 << 10000 << 4000;
        QTest::newRow("too wide") << 25000 << 8000 << 22400 << 8000;
        QTest::newRow("too narrow") << 5000 << 8000 << 7000 << 8000;
        QTest::newRow("within") << 15000 << 9000 << 15000 << 9000;
    }
    void sizeLimits() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, limitedWidth);
        QFETCH(int, limitedHeight);
        const ScrollGeometry g = For(width, height);
        QCOMPARE(g.outer, (TwipSize{limitedWidth, limitedHeight}));
        QCOMPARE(g.inner, (TwipSize{limitedWidth - 120, limitedHeight - 480}));
    }

    void bars_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("verticalMaximum");
        QTest::addColumn<bool>("horizontalVisible");
        QTest::addColumn<int>("horizontalMaximum");
        QTest::newRow("full height") << 10000 << 14100 << 705 << true << 12405;
        QTest::newRow("lowest") << 7000 << 4000 << 10805 << true << 15405;
        QTest::newRow("laptop") << 20490 << 11100 << 3705 << true << 1915;
        QTest::newRow("last width with the bar") << 22209 << 9000 << 5805 << true << 196;
        QTest::newRow("first width without") << 22210 << 9000 << 5805 << false << 0;
        QTest::newRow("widest") << 22400 << 14100 << 705 << false << 0;
    }
    void bars() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, verticalMaximum);
        QFETCH(bool, horizontalVisible);
        QFETCH(int, horizontalMaximum);
        const ScrollGeometry g = For(width, height);
        // The content is always taller than the window may be.
        QVERIFY(g.vertical.visible);
        QCOMPARE(g.vertical.maximum, verticalMaximum);
        QCOMPARE(g.horizontal.visible, horizontalVisible);
        if (horizontalVisible)
            QCOMPARE(g.horizontal.maximum, horizontalMaximum);
    }

    void contentFollowsTheBars() {
        QCOMPARE(ContentLeft(0), 125);
        QCOMPARE(ContentLeft(12405), -12280);
        QCOMPARE(ContentTop(0), 0);
        QCOMPARE(ContentTop(705), -705);
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

#include "app/tool.h"
#include "fake_ports.h"
#include "file_bytes.h"
#include "scripted_messages.h"

#include <QAction>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

// Every window opens wholly inside the screen's available area, frame included, on a screen
// smaller than the larger windows were drawn for (the test runs on a 1024 × 600 offscreen screen).
class WindowPlacementTest : public QObject {
    Q_OBJECT
private slots:
    void everyWindowOnTheScreen() {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(area.size(), QSize(1024, 600));
        QTemporaryDir dir;
        WriteFileBytes(dir.filePath("тп.ini"), "[PC config]\r\nCOM=3\r\n");
        ScriptedMessages boxes;
        FakePorts ports;
        ports.available_ports = {3};
        Tool tool(ports.factory(), boxes, {dir.filePath("тп.ini"), dir.path()}, QLatin1Char('.'));
        tool.let_events_run = [] {};
        tool.parameters().setBackupFolder(dir.filePath("backups"));
        QVERIFY(tool.start());
        for (const char* entry :
             {"mnu_param", "mnu_settings", "mnu_traffic", "mnu_charts", "mnu_journal"})
            tool.window().findChild<QAction*>(entry)->trigger();
        QApplication::processEvents();
        QStringList shown, outside;
        for (const QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible())
                continue;
            shown << window->objectName();
            if (!area.contains(window->frameGeometry()))
                outside << window->objectName();
        }
        shown.sort();
        QCOMPARE(shown, (QStringList{"frm_charts", "frm_journal", "frm_main", "frm_param",
                                     "frm_traffic", "wndSetCOM"}));
        QCOMPARE(outside, QStringList());
    }
};

QTEST_MAIN(WindowPlacementTest)
#include "test_window_placement.moc"

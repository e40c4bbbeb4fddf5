#include "config/config_file.h"
#include "config/tool_places.h"
#include "file_bytes.h"
#include "recording_host.h"
#include "scripted_messages.h"

#include <QTemporaryDir>
#include <QtTest>

// The user's home and configuration folder are scratch folders here.
class ToolPlacesTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString home = dir.filePath("home");
    QString config_home = dir.filePath("config");

private slots:
    void initTestCase() {
        QCoreApplication::setApplicationName("zarn-tool");
        qputenv("HOME", home.toUtf8());
        qputenv("XDG_CONFIG_HOME", config_home.toUtf8());
    }

    // A portable program keeps all beside itself and makes nothing in the user's folders. An
    // installed one writes its file per user at the first start, as a portable one beside
    // itself; its picker starts in the documents folder, or at home while there is none.
    void places_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("installed");
        for (const char* folder : {"/usrlocal/bin", "/optional"})
            QTest::newRow(folder) << folder << false;
        QTest::newRow("own folder") << dir.filePath("zarn") << false;
        for (const char* folder : {"/usr/bin", "/usr/local/bin/", "/opt/zarn-tool/bin", "/opt"})
            QTest::newRow(folder) << folder << true;
    }
    void places() {
        QFETCH(QString, folder);
        QFETCH(bool, installed);
        QDir(config_home).removeRecursively();
        QDir(home).removeRecursively();
        QDir().mkpath(home);
        QCOMPARE(PlacesFor(folder).picker_folder, installed ? home : folder);
        QDir().mkpath(home + "/Documents");
        const ToolPlaces places = PlacesFor(folder);
        QCOMPARE(places.picker_folder, installed ? home + "/Documents" : folder);
        QCOMPARE(places.config_path,
                 (installed ? config_home + "/zarn-tool" : folder) + QStringLiteral("/тп.ini"));
        QCOMPARE(QFileInfo::exists(config_home), installed);
        if (!installed)
            return;
        RecordingHost host;
        host.address = -1;
        ScriptedMessages boxes;
        ConfigFile(places.config_path, host, boxes).LoadConfig();
        QCOMPARE(FileBytes(places.config_path),
                 "[PC config]\r\nCOM=1\r\n[QLA config]\r\nMBSLAD=-1\r\n");
    }
};

QTEST_GUILESS_MAIN(ToolPlacesTest)
#include "test_tool_places.moc"

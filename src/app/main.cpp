#include "app/batch_run.h"
#include "app/tool.h"
#include "app/tool_options.h"
#include "config/com_port_map.h"
#include "config/tool_places.h"
#include "link/qt_serial_port.h"
#include "views/message_box_dialog.h"

#include <QApplication>
#include <QLocale>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("zarn-tool"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZARN_VERSION));

    ToolOptions options;
    std::optional<BatchJob> batch;
    {
        // --help and --version answer before the window system starts, so that they work
        // without a display too (over ssh, in a package check). Everything else is parsed once
        // it has started, which takes its own options (-platform) off the command line first.
        const QCoreApplication shell(argc, argv);
        options.answerHelpOrVersion(QCoreApplication::arguments());
        if (options.wantsBatch(QCoreApplication::arguments())) {
            QString error;
            batch = options.batchJob(error);
            if (!batch) {
                std::fprintf(stderr, "zarn-tool: %s\n", qPrintable(error));
                return static_cast<int>(BatchExit::BadInput);
            }
        }
        // The batch mode runs on the core alone, in this application without windows.
        if (batch && batch->command != BatchCommand::Report)
            return static_cast<int>(RunBatch(*batch, PlacesOfThisProgram().config_path));
    }
    if (batch) {
        // The report's PDF lays out its text with Qt Gui's fonts: a platform, but no display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        const QGuiApplication printer(argc, argv);
        return static_cast<int>(RunBatch(*batch, PlacesOfThisProgram().config_path));
    }

    QApplication app(argc, argv);
    // Desktops match the windows to the menu entry (and its icon) by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("ru.zarn.tool"));
    options.process(QApplication::arguments());

    const ToolPlaces places = PlacesOfThisProgram();
    MessageBoxDialog boxes;
    Tool tool(std::make_unique<QtSerialPort>(
                  [path = places.config_path](int n) { return DevicePathForCom(path, n); }),
              boxes, places, QLocale::system().decimalPoint().front());
    options.applyTo(tool);
    if (!tool.start())
        return 0;
    return app.exec();
}

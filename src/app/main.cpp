#include "app/tool.h"
#include "config/com_port_map.h"
#include "config/tool_places.h"
#include "link/qt_serial_port.h"
#include "views/message_box_dialog.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("zarn-tool"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZARN_VERSION));

    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Сервисная программа контроллера ЗАРН (Modbus RTU, ведущий), версия ") +
        QCoreApplication::applicationVersion() + QLatin1Char('.'));
    const QCommandLineOption help = options.addHelpOption();
    const QCommandLineOption version = options.addVersionOption();
    const QCommandLineOption trafficLog(
        QStringLiteral("traffic-log"),
        QStringLiteral(
            "Записывать обмен с контроллером в файл FILE (CSV, UTF-8), с первого кадра."),
        QStringLiteral("FILE"));
    options.addOption(trafficLog);
    {
        // --help and --version answer before the window system starts, so that they work
        // without a display too (over ssh, in a package check). Everything else is parsed once
        // it has started, which takes its own options (-platform) off the command line first.
        QCoreApplication shell(argc, argv);
        if (options.parse(QCoreApplication::arguments()) &&
            (options.isSet(help) || options.isSet(QStringLiteral("help-all")) ||
             options.isSet(version)))
            options.process(shell);
    }

    QApplication app(argc, argv);
    // Desktops match the windows to the menu entry (and its icon) by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("zarn-tool"));
    options.process(app);

    const ToolPlaces places = PlacesOfThisProgram();
    MessageBoxDialog boxes;
    Tool tool(std::make_unique<QtSerialPort>(
                  [path = places.config_path](int n) { return DevicePathForCom(path, n); }),
              boxes, places, QLocale::system().decimalPoint().front());
    // A log that cannot be opened is said, and the tool works on without it.
    if (options.isSet(trafficLog) && !tool.traffic().startLog(options.value(trafficLog)))
        std::fprintf(stderr, "zarn-tool: %s: %s\n", qPrintable(options.value(trafficLog)),
                     qPrintable(tool.traffic().logError()));
    if (!tool.start())
        return 0;
    return app.exec();
}

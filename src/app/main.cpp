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
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zarn-tool"));
    QApplication::setApplicationVersion(QStringLiteral(ZARN_VERSION));

    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Сервисная программа контроллера ЗАРН (Modbus RTU, ведущий)."));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption trafficLog(
        QStringLiteral("traffic-log"),
        QStringLiteral(
            "Записывать обмен с контроллером в файл FILE (CSV, UTF-8), с первого кадра."),
        QStringLiteral("FILE"));
    options.addOption(trafficLog);
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

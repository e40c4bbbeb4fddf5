#include "app/tool.h"
#include "app/tool_options.h"
#include "config/com_port_map.h"
#include "config/config_file.h"
#include "link/qt_serial_port.h"
#include "views/message_box_dialog.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zarn-tool"));
    QApplication::setApplicationVersion(QStringLiteral(ZARN_VERSION));

    ToolOptions options;
    options.process(QApplication::arguments());

    const QString configPath = ConfigPathBesideExecutable();
    MessageBoxDialog boxes;
    Tool tool(std::make_unique<QtSerialPort>(
                  [configPath](int n) { return DevicePathForCom(configPath, n); }),
              boxes, configPath, QLocale::system().decimalPoint().front());
    options.applyTo(tool);
    if (!tool.start())
        return 0;
    return app.exec();
}

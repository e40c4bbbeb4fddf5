#include "app/tool.h"
#include "config/com_port_map.h"
#include "config/config_file.h"
#include "link/qt_serial_port.h"
#include "views/message_box_dialog.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>
#include <QStandardPaths>
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
    const QCommandLineOption record(
        QStringLiteral("record"),
        QStringLiteral("Записывать значения каждого ответа на опрос в файл FILE (CSV, UTF-8)."),
        QStringLiteral("FILE"));
    options.addOption(record);
    const QCommandLineOption journal(
        QStringLiteral("journal"),
        QStringLiteral("Вести журнал событий в файле FILE (CSV, UTF-8); без него — по файлу "
                       "в день в папке данных пользователя."),
        QStringLiteral("FILE"));
    options.addOption(journal);
    options.process(app);

    const QString configPath = ConfigPathBesideExecutable();
    MessageBoxDialog boxes;
    Tool tool(std::make_unique<QtSerialPort>(
                  [configPath](int n) { return DevicePathForCom(configPath, n); }),
              boxes, configPath, QLocale::system().decimalPoint().front());
    // A file that cannot be opened is said, and the tool works on without it.
    const auto tellUnopened = [](const QString& path, const QString& error) {
        std::fprintf(stderr, "zarn-tool: %s: %s\n", qPrintable(path), qPrintable(error));
    };
    if (options.isSet(trafficLog) && !tool.traffic().startLog(options.value(trafficLog)))
        tellUnopened(options.value(trafficLog), tool.traffic().logError());
    if (options.isSet(record) && !tool.recorder().startRecording(options.value(record)))
        tellUnopened(options.value(record), tool.recorder().recordingError());
    if (options.isSet(journal))
        tool.recorder().journal().useFile(options.value(journal));
    else
        tool.recorder().journal().useDailyFiles(
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
            QStringLiteral("/journal"));
    if (!tool.start())
        return 0;
    return app.exec();
}

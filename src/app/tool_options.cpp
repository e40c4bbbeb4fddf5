#include "app/tool_options.h"

#include "app/tool.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <cstdio>

namespace {
void tellUnopened(const QString& path, const QString& error) {
    std::fprintf(stderr, "zarn-tool: %s: %s\n", qPrintable(path), qPrintable(error));
}
} // namespace

ToolOptions::ToolOptions()
    : help(parser.addHelpOption()), version(parser.addVersionOption()),
      traffic_log(QStringLiteral("traffic-log"),
                  QStringLiteral("Записывать обмен с контроллером в файл FILE (CSV, UTF-8), с "
                                 "первого кадра."),
                  QStringLiteral("FILE")),
      record(QStringLiteral("record"),
             QStringLiteral("Записывать значения каждого ответа на опрос в файл FILE (CSV, "
                            "UTF-8)."),
             QStringLiteral("FILE")),
      journal(QStringLiteral("journal"),
              QStringLiteral("Вести журнал событий в файле FILE (CSV, UTF-8); без него — по "
                             "файлу в день в папке данных пользователя."),
              QStringLiteral("FILE")),
      backup_dir(QStringLiteral("backup-dir"),
                 QStringLiteral("Сохранять резервную копию параметров контроллера перед каждой "
                                "записью всех параметров в папку DIR; без него — в папку данных "
                                "пользователя."),
                 QStringLiteral("DIR")) {
    parser.setApplicationDescription(
        QStringLiteral("Сервисная программа контроллера ЗАРН (Modbus RTU, ведущий), версия ") +
        QCoreApplication::applicationVersion() + QLatin1Char('.'));
    parser.addOptions({traffic_log, record, journal, backup_dir});
}

void ToolOptions::answerHelpOrVersion(const QStringList& arguments) {
    if (parser.parse(arguments) &&
        (parser.isSet(help) || parser.isSet(QStringLiteral("help-all")) || parser.isSet(version)))
        parser.process(arguments);
}

void ToolOptions::process(const QStringList& arguments) {
    parser.process(arguments);
}

void ToolOptions::applyTo(Tool& tool) const {
    if (parser.isSet(traffic_log) && !tool.traffic().startLog(parser.value(traffic_log)))
        tellUnopened(parser.value(traffic_log), tool.traffic().logError());
    if (parser.isSet(record) && !tool.recorder().startRecording(parser.value(record)))
        tellUnopened(parser.value(record), tool.recorder().recordingError());
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (parser.isSet(journal))
        tool.recorder().journal().useFile(parser.value(journal));
    else
        tool.recorder().journal().useDailyFiles(dataFolder + QStringLiteral("/journal"));
    tool.parameters().setBackupFolder(parser.isSet(backup_dir)
                                          ? parser.value(backup_dir)
                                          : dataFolder + QStringLiteral("/backups"));
}

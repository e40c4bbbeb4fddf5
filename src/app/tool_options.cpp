#include "app/tool_options.h"

#include "app/tool.h"
#include "link/slave_address.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <cstdio>

namespace {
const QStringList kBatchCommands = {QStringLiteral("read"), QStringLiteral("write"),
                                    QStringLiteral("compare"), QStringLiteral("report")};

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
                 QStringLiteral("DIR")),
      batch(QStringLiteral("batch"),
            QStringLiteral("Пакетный режим, без окна: read — прочитать все параметры в файл FILE, "
                           "write — записать параметры из файла FILE (с резервной копией до и "
                           "проверкой после), compare — вывести параметры, отличающиеся от файла "
                           "FILE, report — отчёт PDF в файл FILE. Код завершения: 0 — выполнено, "
                           "1 — есть отличия, 2 — контроллер не отвечает, 3 — неверные "
                           "аргументы или файл."),
            QStringLiteral("COMMAND")),
      port(QStringLiteral("port"),
           QStringLiteral("Пакетный режим: порт COM<N>; без него — порт из файла конфигурации."),
           QStringLiteral("N")),
      address(QStringLiteral("address"),
              QStringLiteral("Пакетный режим: адрес контроллера A (0–127, по умолчанию 7)."),
              QStringLiteral("A"), QStringLiteral("7")) {
    parser.setApplicationDescription(
        QStringLiteral("Сервисная программа контроллера ЗАРН (Modbus RTU, ведущий), версия ") +
        QCoreApplication::applicationVersion() + QLatin1Char('.'));
    parser.addOptions({traffic_log, record, journal, backup_dir, batch, port, address});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Файл пакетного режима."),
                                 QStringLiteral("[FILE]"));
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
    if (parser.isSet(journal))
        tool.recorder().journal().useFile(parser.value(journal));
    else
        tool.recorder().journal().useDailyFiles(
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
            QStringLiteral("/journal"));
    tool.parameters().setBackupFolder(backupFolder());
}

QString ToolOptions::backupFolder() const {
    return parser.isSet(backup_dir)
               ? parser.value(backup_dir)
               : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                     QStringLiteral("/backups");
}

bool ToolOptions::wantsBatch(const QStringList& arguments) {
    // A failed parse still marks the options it met, --batch among them.
    parser.parse(arguments);
    return parser.isSet(batch);
}

std::optional<BatchJob> ToolOptions::batchJob(QString& error) const {
    const auto refuse = [&error](const QString& why) {
        error = why;
        return std::nullopt;
    };
    if (!parser.errorText().isEmpty())
        return refuse(parser.errorText());
    const auto command = kBatchCommands.indexOf(parser.value(batch));
    if (command < 0)
        return refuse(QStringLiteral("неизвестная команда «%1»: ожидается %2")
                          .arg(parser.value(batch), kBatchCommands.join(QStringLiteral(", "))));
    if (parser.positionalArguments().size() != 1)
        return refuse(QStringLiteral("пакетному режиму нужен ровно один файл"));
    BatchJob job;
    job.command = static_cast<BatchCommand>(command);
    job.file = parser.positionalArguments().constFirst();
    bool number = false;
    if (parser.isSet(port)) {
        job.com_port = parser.value(port).toInt(&number);
        if (!number || job.com_port < 1 || job.com_port > 255)
            return refuse(QStringLiteral("номер порта должен быть от 1 до 255"));
    }
    job.address = parser.value(address).toInt(&number);
    if (!number || job.address < 0 || job.address > kMaxSlaveAddress)
        return refuse(
            QStringLiteral("адрес контроллера должен быть от 0 до %1").arg(kMaxSlaveAddress));
    job.backup_folder = backupFolder();
    return job;
}

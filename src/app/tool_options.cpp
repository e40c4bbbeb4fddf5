#include "app/tool_options.h"

#include "app/tool.h"
#include "host/message_box.h"
#include "link/slave_address.h"
#include "text/file_failure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const QStringList kBatchCommands = {QStringLiteral("read"),    QStringLiteral("write"),
                                    QStringLiteral("compare"), QStringLiteral("report"),
                                    QStringLiteral("scan"),    QStringLiteral("compare-files")};

// What QGuiApplication and QApplication take off the command line themselves, known here so
// that the whole line is checked before they start: with a value, then without.
const QStringList kWindowSystemOptions = {
    QStringLiteral("platform"),        QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"),   QStringLiteral("plugin"),
    QStringLiteral("qwindowgeometry"), QStringLiteral("geometry"),
    QStringLiteral("qwindowicon"),     QStringLiteral("qwindowtitle"),
    QStringLiteral("display"),         QStringLiteral("session"),
    QStringLiteral("style"),           QStringLiteral("stylesheet")};
const QStringList kWindowSystemFlags = {QStringLiteral("reverse"), QStringLiteral("widgetcount")};

QCommandLineOption Hidden(const QString& name, const QString& valueName) {
    QCommandLineOption option(name, QString(), valueName);
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}
} // namespace

ToolOptions::ToolOptions()
    : help(parser.addHelpOption()), version(parser.addVersionOption()),
      traffic_log(QStringLiteral("traffic-log"),
                  QStringLiteral("Записывать обмен с контроллером в файл FILE (CSV, UTF-8), с "
                                 "первого кадра; в окне и в пакетном режиме."),
                  QStringLiteral("FILE")),
      record(QStringLiteral("record"),
             QStringLiteral("Записывать значения каждого ответа на опрос в файл FILE (CSV, "
                            "UTF-8); только в окне."),
             QStringLiteral("FILE")),
      journal(QStringLiteral("journal"),
              QStringLiteral("Вести журнал событий в файле FILE (CSV, UTF-8); без него — по "
                             "файлу в день в папке данных пользователя. В окне и в пакетном "
                             "режиме."),
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
                           "FILE, report — отчёт PDF в файл FILE, scan — найти контроллеры на "
                           "линии (адреса 1–127; по строке на найденный: адрес;тип;версия ПО;"
                           "версия протокола), compare-files — вывести параметры, различающиеся в "
                           "файлах FILE и FILE2, без контроллера. Файл записывается только в "
                           "существующую папку. "
                           "Код завершения: 0 — выполнено, 1 — есть отличия, 2 — контроллер не "
                           "отвечает (при поиске — не найден ни один), 3 — неверные аргументы "
                           "или файл."),
            QStringLiteral("COMMAND")),
      port(QStringLiteral("port"),
           QStringLiteral("Только пакетный режим: порт COM<N> или сервер последовательных "
                          "портов tcp://УЗЕЛ:ПОРТ; без него — порт из файла конфигурации."),
           QStringLiteral("N")),
      address(QStringLiteral("address"),
              QStringLiteral("Только пакетный режим: адрес контроллера A (0–127, по умолчанию "
                             "7)."),
              QStringLiteral("A"), QStringLiteral("7")),
      fast(QStringLiteral("fast"),
           QStringLiteral("Только пакетный режим: быстрый обмен — каждый следующий запрос "
                          "передачи сразу после ответа на предыдущий, а не раз в 100 мс.")),
      open_record(QStringLiteral("open-record"),
                  QStringLiteral("Только открыть запись значений FILE (сделанную с --record или "
                                 "кнопкой «Записывать в файл») в окне графиков, без порта и "
                                 "контроллера."),
                  QStringLiteral("FILE")) {
    parser.setApplicationDescription(
        QStringLiteral("Сервисная программа контроллера ЗАРН (Modbus RTU, ведущий), версия ") +
        QCoreApplication::applicationVersion() + QLatin1Char('.'));
    // As QApplication reads its own options: "-platform offscreen", not "-p -l -a …".
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({traffic_log, record, journal, backup_dir, batch, port, address, fast});
    parser.addOption(open_record);
    for (const QString& name : kWindowSystemOptions)
        parser.addOption(Hidden(name, QStringLiteral("VALUE")));
    for (const QString& name : kWindowSystemFlags)
        parser.addOption(Hidden(name, QString()));
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("Файл пакетного режима (только с --batch)."),
                                 QStringLiteral("[FILE [FILE2]]"));
}

QString ToolOptions::usageLine() {
    return QStringLiteral("Использование: zarn-tool [ПАРАМЕТРЫ] или zarn-tool --batch "
                          "read|write|compare|report FILE [ПАРАМЕТРЫ] или zarn-tool --batch scan "
                          "[ПАРАМЕТРЫ]; список параметров: "
                          "zarn-tool --help");
}

QString ToolOptions::read(const QStringList& arguments) {
    job.reset();
    if (!parser.parse(arguments))
        return mistakeOfParse(arguments);
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all")) || parser.isSet(version))
        parser.process(arguments);
    if (const QString mistake = mistakeOfMode(); !mistake.isEmpty())
        return mistake;
    return parser.isSet(batch) ? mistakeOfBatch() : QString();
}

// Qt's own texts of these mistakes speak the system's language; these speak Russian always.
QString ToolOptions::mistakeOfParse(const QStringList& arguments) const {
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().constFirst();
        return QStringLiteral("неизвестный параметр %1%2")
            .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name);
    }
    // Qt's other mistakes: a value missing after the last option, or one given to an option
    // that takes none (--help=x).
    if (const QString last = arguments.value(arguments.size() - 1);
        last.startsWith(QLatin1Char('-')) && !last.contains(QLatin1Char('=')))
        return QStringLiteral("после %1 нет значения").arg(last);
    return parser.errorText();
}

QString ToolOptions::mistakeOfMode() const {
    // A recording looked at is all that runs: no session to write files of, no batch.
    for (const QCommandLineOption* session : {&batch, &traffic_log, &record, &journal, &backup_dir})
        if (parser.isSet(open_record) && parser.isSet(*session))
            return QStringLiteral("параметр --open-record не сочетается с --%1")
                .arg(session->names().constFirst());
    if (parser.isSet(batch))
        return parser.isSet(record)
                   ? QStringLiteral("параметр --record не действует в пакетном режиме")
                   : QString();
    for (const QCommandLineOption* batchOnly : {&port, &address, &fast})
        if (parser.isSet(*batchOnly))
            return QStringLiteral("параметр --%1 действует только в пакетном режиме (--batch)")
                .arg(batchOnly->names().constFirst());
    if (!parser.positionalArguments().isEmpty())
        return QStringLiteral("лишний аргумент «%1»: файл задаётся только в пакетном режиме "
                              "(--batch)")
            .arg(parser.positionalArguments().constFirst());
    return {};
}

QString ToolOptions::mistakeOfBatch() {
    const auto command = kBatchCommands.indexOf(parser.value(batch));
    if (command < 0)
        return QStringLiteral("неизвестная команда «%1»: ожидается %2")
            .arg(parser.value(batch), kBatchCommands.join(QStringLiteral(", ")));
    BatchJob wanted;
    wanted.command = static_cast<BatchCommand>(command);
    const qsizetype files = wanted.command == BatchCommand::Scan           ? 0
                            : wanted.command == BatchCommand::CompareFiles ? 2
                                                                           : 1;
    if (parser.positionalArguments().size() != files)
        return files == 0 ? QStringLiteral("поиску контроллеров (scan) файл не нужен")
               : files == 2 ? QStringLiteral("сравнению файлов (compare-files) нужны два файла")
                            : QStringLiteral("пакетному режиму нужен ровно один файл");
    wanted.file = parser.positionalArguments().value(0);
    wanted.second_file = parser.positionalArguments().value(1);
    if (parser.isSet(port)) {
        wanted.port = LineAddressFromText(parser.value(port));
        if (!wanted.port)
            return parser.value(port).startsWith(QStringLiteral("tcp:"), Qt::CaseInsensitive)
                       ? QStringLiteral("адрес сети задаётся как tcp://УЗЕЛ:ПОРТ, порт от 1 "
                                        "до 65535")
                       : QStringLiteral("номер порта должен быть от 1 до 255");
    }
    bool number = false;
    wanted.address = parser.value(address).toInt(&number);
    if (!number || wanted.address < 0 || wanted.address > kMaxSlaveAddress)
        return QStringLiteral("адрес контроллера должен быть от 0 до %1").arg(kMaxSlaveAddress);
    // A mistyped folder is told before the controller is disturbed, not made with all its
    // parents.
    const bool writesFile =
        wanted.command == BatchCommand::Read || wanted.command == BatchCommand::Report;
    if (writesFile && !QFileInfo(QFileInfo(wanted.file).absolutePath()).isDir())
        return FileFailure(wanted.file, QString());
    wanted.backup_folder = backupFolder();
    if (wanted.command == BatchCommand::Write && parser.isSet(backup_dir) &&
        !QFileInfo(wanted.backup_folder).isDir())
        return QStringLiteral("папка резервных копий %1 не существует")
            .arg(QDir::toNativeSeparators(wanted.backup_folder));
    wanted.files = sessionFiles();
    wanted.fast = parser.isSet(fast);
    job = wanted;
    return {};
}

void ToolOptions::applyTo(Tool& tool, MessageBoxService& boxes) const {
    for (const QString& failure : OpenSessionFiles(sessionFiles(), tool.traffic(), tool.recorder()))
        boxes.ask(MessageIcon::Warning, file_text::kOpenErrorTitle,
                  QStringLiteral("Невозможно открыть для записи %1.\r\nПрограмма работает без "
                                 "этого файла.")
                      .arg(failure),
                  MessageButtons::Ok);
    tool.parameters().setBackupFolder(backupFolder());
}

SessionFiles ToolOptions::sessionFiles() const {
    return {parser.value(traffic_log), parser.value(record), parser.value(journal)};
}

QString ToolOptions::backupFolder() const {
    return parser.isSet(backup_dir)
               ? parser.value(backup_dir)
               : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                     QStringLiteral("/backups");
}

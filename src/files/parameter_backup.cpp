#include "files/parameter_backup.h"

#include "files/parameter_file.h"
#include "host/message_box.h"
#include "text/file_failure.h"
#include "text/russian_count.h"

#include <QDir>

QString BackupFileName(const QDateTime& at, const QString& objectType, int address) {
    QString name = at.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    if (!objectType.isEmpty())
        name += QLatin1Char('_') + objectType;
    return name + QStringLiteral("_адрес%1.ini").arg(address);
}

QString WriteBackup(const QString& folder, const QString& name, const ControllerImage& image) {
    const QString path = QDir(folder).filePath(name);
    if (!QDir().mkpath(folder))
        return FileFailureReason(path, QString());
    return SaveParameterTexts(path, [&image](int i) -> std::optional<QString> {
        if (!image.value(i))
            return std::nullopt;
        return image.value(i)->text;
    });
}

QString BackUpBeforeWriteAll(const ControllerImage& image, MessageBoxService& messages,
                             const QString& folder, const QString& objectType, int fallbackAddress,
                             const BackupWatch& watch) {
    if (const int missing = image.missing();
        missing > 0 &&
        messages.ask(MessageIcon::Question, QStringLiteral("Резервная копия неполная"),
                     QStringLiteral("Контроллер не сообщил значения %1 из %2: "
                                    "резервная копия будет неполной.\r\nЗаписать параметры "
                                    "без полной резервной копии?")
                         .arg(CountOf(missing, nouns::kOfParameter))
                         .arg(kParamCount),
                     MessageButtons::YesNo) != MessageAnswer::Yes)
        return {};
    const int address = image.address() >= 0 ? image.address() : fallbackAddress;
    for (;;) {
        const QString name = BackupFileName(watch.now(), objectType, address);
        const QString path = QDir(folder).filePath(name);
        const QString reason = WriteBackup(folder, name, image);
        if (reason.isEmpty()) {
            watch.told(QStringLiteral("Резервная копия записана: ") +
                       QDir::toNativeSeparators(path));
            return path;
        }
        const QString failure = FileFailure(path, reason);
        watch.told(QStringLiteral("Резервная копия не записана: ") + failure);
        if (messages.ask(MessageIcon::Critical, QStringLiteral("Резервная копия не записана"),
                         QStringLiteral("Невозможно записать резервную копию в файл %1.\r\n"
                                        "Параметры в контроллер не записаны.")
                             .arg(failure),
                         MessageButtons::RetryCancel) != MessageAnswer::Retry)
            return {};
    }
}

#include "files/parameter_backup.h"

#include "files/parameter_file.h"

#include <QDir>

QString BackupFileName(const QDateTime& at, const QString& objectType, int address) {
    QString name = at.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    if (!objectType.isEmpty())
        name += QLatin1Char('_') + objectType;
    return name + QStringLiteral("_адрес%1.ini").arg(address);
}

bool WriteBackup(const QString& folder, const QString& name, const ControllerImage& image) {
    if (!QDir().mkpath(folder))
        return false;
    return SaveParameterTexts(QDir(folder).filePath(name),
                              [&image](int i) -> std::optional<QString> {
                                  if (!image.value(i))
                                      return std::nullopt;
                                  return image.value(i)->text;
                              });
}

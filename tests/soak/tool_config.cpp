#include "tool_config.h"

#include <QDir>
#include <QFile>

QString WriteToolConfig(const QString& folder, const QString& devicePath) {
    const QString path = QDir(folder).filePath(QStringLiteral("тп.ini"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QStringLiteral("[PC config]\r\nCOM=1\r\n\r\n[Ports]\r\nCOM1=%1\r\n")
                       .arg(devicePath)
                       .toUtf8());
    return path;
}

#include "config/tool_places.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace {
const QString kFileName = QStringLiteral("тп.ini");
} // namespace

bool IsSystemFolder(const QString& executableFolder) {
    const QString folder = QDir::cleanPath(executableFolder);
    for (const QString& system : {QStringLiteral("/usr"), QStringLiteral("/opt")})
        if (folder == system || folder.startsWith(system + QLatin1Char('/')))
            return true;
    return false;
}

ToolPlaces PlacesFor(const QString& executableFolder) {
    if (!IsSystemFolder(executableFolder))
        return {QDir(executableFolder).filePath(kFileName), QDir::cleanPath(executableFolder)};
    const QString configFolder =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(configFolder);
    // A fresh account may have no documents folder yet; its home is the next best start.
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QDir(documents).exists())
        documents = QDir::homePath();
    return {QDir(configFolder).filePath(kFileName), QDir::cleanPath(documents)};
}

ToolPlaces PlacesOfThisProgram() {
    return PlacesFor(QCoreApplication::applicationDirPath());
}

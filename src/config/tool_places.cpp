#include "config/tool_places.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const QString kFileName = QStringLiteral("тп.ini");
} // namespace

bool IsSystemFolder(const QString& executableFolder) {
    const QString folder = QDir::cleanPath(executableFolder);
#ifdef Q_OS_WIN
    // The installer leaves its uninstaller beside the program, wherever the user installed it;
    // a zip unpacked into Program Files by an administrator is shared all the same.
    if (QFileInfo::exists(QDir(folder).filePath(QStringLiteral("Uninstall.exe"))))
        return true;
    const QStringList systems = {qEnvironmentVariable("ProgramFiles"),
                                 qEnvironmentVariable("ProgramFiles(x86)"),
                                 qEnvironmentVariable("ProgramW6432")};
    const Qt::CaseSensitivity letterCase = Qt::CaseInsensitive;
#else
    const QStringList systems = {QStringLiteral("/usr"), QStringLiteral("/opt")};
    const Qt::CaseSensitivity letterCase = Qt::CaseSensitive;
#endif
    for (const QString& given : systems) {
        if (given.isEmpty())
            continue;
        const QString system = QDir::cleanPath(QDir::fromNativeSeparators(given));
        if (folder.compare(system, letterCase) == 0 ||
            folder.startsWith(system + QLatin1Char('/'), letterCase))
            return true;
    }
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

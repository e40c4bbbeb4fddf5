#include "text/file_failure.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#ifdef Q_OS_UNIX
#include <sys/statvfs.h>
#endif

namespace {

// Qt reports the failures of files as strerror() words; the number behind them says the reason.
int errnoOfText(const QString& text) {
    for (int e = 1; e < 200; ++e) {
        if (text == QString::fromLocal8Bit(std::strerror(e)))
            return e;
    }
    return 0;
}

QString reasonOfErrno(int e) {
    switch (e) {
    case EACCES:
    case EPERM: return QStringLiteral("нет прав доступа");
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("диск заполнен");
    case EROFS: return QStringLiteral("диск только для чтения");
    case EISDIR: return QStringLiteral("это папка, а не файл");
    case ENOTDIR: return QStringLiteral("часть пути не является папкой");
    case ENAMETOOLONG: return QStringLiteral("слишком длинное имя");
    case EFBIG: return QStringLiteral("файл слишком велик");
    case EIO: return QStringLiteral("ошибка ввода-вывода");
    case EMFILE:
    case ENFILE: return QStringLiteral("открыто слишком много файлов");
    case EBUSY:
    case ETXTBSY: return QStringLiteral("файл занят другой программой");
    case EINVAL: return QStringLiteral("недопустимое имя файла");
    default: return {};
    }
}

// The nearest ancestor that exists, and whether every step below it is missing or blocked by
// something that is not a folder.
QString reasonOfPath(const QString& path) {
    const QFileInfo file(path);
    if (file.exists() && !file.isFile())
        return file.isDir() ? QStringLiteral("это папка, а не файл")
                            : QStringLiteral("путь ведёт не к файлу");
    QFileInfo folder(file.absolutePath());
    if (!folder.exists()) {
        QString up = folder.absoluteFilePath();
        while (!QFileInfo::exists(up) && QFileInfo(up).absolutePath() != up)
            up = QFileInfo(up).absolutePath();
        if (!QFileInfo(up).isDir())
            return QStringLiteral("часть пути не является папкой");
        return QStringLiteral("папка %1 не существует")
            .arg(QDir::toNativeSeparators(folder.absoluteFilePath()));
    }
    if (!folder.isDir())
        return QStringLiteral("часть пути не является папкой");
#ifdef Q_OS_UNIX
    struct statvfs volume {};
    if (::statvfs(QFile::encodeName(folder.absoluteFilePath()).constData(), &volume) == 0) {
        if (volume.f_flag & ST_RDONLY)
            return QStringLiteral("диск только для чтения");
        if (volume.f_bavail == 0)
            return QStringLiteral("диск заполнен");
    }
#endif
    if (file.exists() ? !file.isWritable() : !folder.isWritable())
        return QStringLiteral("нет прав на запись");
    if (!file.exists())
        return QStringLiteral("файл не найден");
    return {};
}

} // namespace

QString FileFailureReason(const QString& path, const QString& system_text) {
    const int e = errnoOfText(system_text);
    // "No such file or directory" says neither which: the path tells.
    if (e != ENOENT && e != 0) {
        const QString reason = reasonOfErrno(e);
        if (!reason.isEmpty())
            return reason;
    }
    const QString reason = reasonOfPath(path);
    if (!reason.isEmpty())
        return reason;
    if (system_text.isEmpty())
        return QStringLiteral("причина неизвестна");
    return QStringLiteral("ошибка системы (%1)").arg(system_text);
}

QString FileFailure(const QString& path, const QString& system_text) {
    return QDir::toNativeSeparators(path) + QStringLiteral(": ") +
           FileFailureReason(path, system_text);
}

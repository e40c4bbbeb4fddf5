#include "text/file_failure.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif
#ifdef Q_OS_UNIX
#include <sys/statvfs.h>
#endif

namespace {

// A failure the system names by a number, and what the user is told of it. Qt words every
// failure of a file as qt_error_string() of that number (strerror() here, the system's message
// on Windows, in the system's language), so the text leads back to the number. Without a
// reason, only the path can tell: "not found" says neither whether the file or its folder is
// missing.
struct KnownFailure {
    int code;
    const char* reason;
};

constexpr KnownFailure kKnownFailures[] = {
#ifdef Q_OS_WIN
    {ERROR_FILE_NOT_FOUND, nullptr},
    {ERROR_PATH_NOT_FOUND, nullptr},
    {ERROR_ACCESS_DENIED, "нет прав доступа"},
    {ERROR_WRITE_PROTECT, "диск защищён от записи"},
    {ERROR_NOT_READY, "диск не готов"},
    {ERROR_SHARING_VIOLATION, "файл занят другой программой"},
    {ERROR_LOCK_VIOLATION, "файл занят другой программой"},
    {ERROR_HANDLE_DISK_FULL, "диск заполнен"},
    {ERROR_DISK_FULL, "диск заполнен"},
    {ERROR_INVALID_NAME, "недопустимое имя файла"},
    {ERROR_FILENAME_EXCED_RANGE, "слишком длинное имя"},
    {ERROR_DIRECTORY, "недопустимое имя папки"},
#else
    {ENOENT, nullptr},
    {EACCES, "нет прав доступа"},
    {EPERM, "нет прав доступа"},
    {ENOSPC, "диск заполнен"},
#ifdef EDQUOT
    {EDQUOT, "диск заполнен"},
#endif
    {EROFS, "диск только для чтения"},
    {EISDIR, "это папка, а не файл"},
    {ENOTDIR, "часть пути не является папкой"},
    {ENAMETOOLONG, "слишком длинное имя"},
    {EFBIG, "файл слишком велик"},
    {EIO, "ошибка ввода-вывода"},
    {EMFILE, "открыто слишком много файлов"},
    {ENFILE, "открыто слишком много файлов"},
    {EBUSY, "файл занят другой программой"},
    {ETXTBSY, "файл занят другой программой"},
    {EINVAL, "недопустимое имя файла"},
#endif
};

const KnownFailure* knownFailure(const QString& text) {
    const auto known =
        std::find_if(std::begin(kKnownFailures), std::end(kKnownFailures),
                     [&text](const KnownFailure& f) { return text == qt_error_string(f.code); });
    return known == std::end(kKnownFailures) ? nullptr : known;
}

// A reason already told in Russian (one of ours handed on, or the system's own in a Russian
// system) is kept as it is.
bool isRussian(const QString& text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.script() == QChar::Script_Cyrillic; });
}

// What the path itself shows: something other than a file under the name, a folder missing or
// blocked by a file, a volume that takes nothing, a file or folder without the right to write.
// Qt's own failures ("Filename refers to a directory", "Existing file … is not writable",
// "Unknown error") come down to these.
QString reasonOfPath(const QString& path, bool notFound) {
    const QString notAFolder = QStringLiteral("часть пути не является папкой");
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
            return notAFolder;
        return QStringLiteral("папка %1 не существует")
            .arg(QDir::toNativeSeparators(folder.absoluteFilePath()));
    }
    if (!folder.isDir())
        return notAFolder;
    if (!file.exists() && notFound)
        return QStringLiteral("файл не найден");
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
    if (file.exists() && !file.isReadable())
        return QStringLiteral("нет прав на чтение");
    return {};
}

} // namespace

QString FileFailureReason(const QString& path, const QString& system_text) {
    const KnownFailure* known = knownFailure(system_text);
    if (known && known->reason)
        return QString::fromUtf8(known->reason);
    if (!known && isRussian(system_text))
        return system_text;
    const QString reason = reasonOfPath(path, known != nullptr);
    if (!reason.isEmpty())
        return reason;
    if (system_text.isEmpty() || system_text == QLatin1String("Unknown error"))
        return QStringLiteral("причина неизвестна");
    return QStringLiteral("ошибка системы (%1)").arg(system_text);
}

QString FileFailure(const QString& path, const QString& system_text) {
    return QDir::toNativeSeparators(path) + QStringLiteral(": ") +
           FileFailureReason(path, system_text);
}

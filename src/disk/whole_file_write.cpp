#include "disk/whole_file_write.h"

#include "text/file_failure.h"

#include <QFileInfo>
#include <QSaveFile>
#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

bool syncedToDisk(QFileDevice& file) {
#ifdef Q_OS_WIN
    return FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()))) != 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

} // namespace

QString WriteWholeFile(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return FileFailureReason(path, QString());
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return FileFailureReason(path, file.errorString());
    // QSaveFile::commit() renames even when its final flush fell short (a full disk, a file
    // size limit) or the data never reached the disk; both are checked here first, so a cut
    // file never replaces a whole one. The reason is taken before the cancel overwrites it.
    if (file.write(bytes) != bytes.size() || !file.flush() || !syncedToDisk(file)) {
        const QString reason = FileFailureReason(path, file.errorString());
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return FileFailureReason(path, file.errorString());
    return {};
}

#include "disk/ready_volumes.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

namespace {
// The mounted volumes that are ready, by their root folders, the system's root first.
QStringList ReadyVolumeRoots() {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        // Containers mount single files as volumes; only folders can be browsed.
        if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir())
            roots.append(volume.rootPath());
    }
    std::sort(roots.begin(), roots.end(), [](const QString& a, const QString& b) {
        const bool a_root = a == QStringLiteral("/");
        const bool b_root = b == QStringLiteral("/");
        return a_root != b_root ? a_root : a < b;
    });
    roots.removeDuplicates();
    return roots;
}
} // namespace

QStringList MountWatch::roots() {
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    const QByteArray now = table.open(QIODevice::ReadOnly) ? table.readAll() : QByteArray();
    if (now.isEmpty() || now != mount_table) {
        mount_table = now;
        cached_roots = ReadyVolumeRoots();
    }
    return cached_roots;
}

QString VolumeOf(const QStringList& roots, const QString& folder) {
    QString best;
    for (const QString& root : roots) {
        const bool holds =
            folder == root || folder.startsWith(root.endsWith('/') ? root : root + '/');
        if (holds && root.size() > best.size())
            best = root;
    }
    return best.isEmpty() && !roots.isEmpty() ? roots.first() : best;
}

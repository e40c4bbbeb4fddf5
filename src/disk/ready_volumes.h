#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The drives of the file picker on a system without drive letters: the mounted volumes that
// are ready, by their root folders, the system's root first. Made for a watch that asks every
// half second: the volumes are listed again only when the kernel's mount table has changed,
// since listing them examines every mounted volume.
class MountWatch {
public:
    QStringList roots();

private:
    QByteArray mount_table;
    QStringList cached_roots;
};

// The root among roots that holds folder (the longest one that is a prefix of it); the first
// root when none does.
QString VolumeOf(const QStringList& roots, const QString& folder);

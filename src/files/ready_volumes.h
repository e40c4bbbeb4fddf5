#pragma once

#include <QString>
#include <QStringList>

// The drives of the file picker on a system without drive letters: the mounted volumes that
// are ready, by their root folders, the system's root first.
QStringList ReadyVolumeRoots();

// The root among roots that holds folder (the longest one that is a prefix of it); the first
// root when none does.
QString VolumeOf(const QStringList& roots, const QString& folder);

#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at `path` with `bytes` so that it is either the old file or the new one,
// never a cut mixture (a temporary file in the same folder, synced, then renamed over it; where
// the folder admits no new file but the file itself is writable, in place). Empty when done,
// else why not, in Russian (FileFailureReason): the caller names the file.
QString WriteWholeFile(const QString& path, const QByteArray& bytes);

#pragma once

#include "params/controller_image.h"

#include <QDateTime>
#include <QString>
#include <functional>

class MessageBoxService;

// The backup a write-all leaves behind: what the controller held, in the format of a parameter
// file, so «Прочитать из файла» puts it back.

// "YYYY-MM-DD_HH-MM-SS_<ДГУ|ДРА>_адрес<N>.ini"; the object type is left out while unknown.
QString BackupFileName(const QDateTime& at, const QString& objectType, int address);
// Parameters the controller never reported get no key. Empty when written, else why not, in
// Russian (the folder is made first).
QString WriteBackup(const QString& folder, const QString& name, const ControllerImage& image);

// What a backup is named by and who hears of it: each file written, and each that could not be
// (the file and why), in the journal's words.
struct BackupWatch {
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    std::function<void(const QString&)> told = [](const QString&) {};
};

// The backup before a write-all, as the user is asked about it: an incomplete image (some
// parameter never reported) is saved only when the user agrees; a backup that cannot be written
// is tried again on Retry, named for the moment of that try. The file is named for
// `fallbackAddress` while the image holds no answer. Its path once it is on disk; empty when the
// write is to be cancelled.
QString BackUpBeforeWriteAll(const ControllerImage& image, MessageBoxService& messages,
                             const QString& folder, const QString& objectType, int fallbackAddress,
                             const BackupWatch& watch = {});

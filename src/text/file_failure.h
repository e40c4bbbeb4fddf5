#pragma once

#include <QString>

namespace file_text {
// The title of a message box telling that a file could not be opened.
inline const QString kOpenErrorTitle = QStringLiteral("Ошибка открытия файла");
// What the file was to be opened for, after its name.
inline const QString kForReading = QStringLiteral(" для чтения");
inline const QString kForWriting = QStringLiteral(" для записи");
} // namespace file_text

// Why a file could not be opened, written or replaced, in Russian words a user understands
// ("папка не существует", "нет прав на запись", "диск заполнен", …). `system_text` is what the
// system or Qt said (QFile::errorString()), or a reason already told in Russian, which is kept;
// the path itself is examined when that text says nothing useful, so the reason is Russian
// whichever layer failed.
QString FileFailureReason(const QString& path, const QString& system_text);

// The file and the reason, as every failure message shows them: "/путь/к/файлу.csv: диск заполнен".
QString FileFailure(const QString& path, const QString& system_text);

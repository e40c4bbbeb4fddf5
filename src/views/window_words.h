#pragma once

#include <QString>

// Words that several windows say alike, for controls that do the same in each.
namespace window_text {
inline const QString kOk = QStringLiteral("ОК");
inline const QString kCancel = QStringLiteral("Отмена");
inline const QString kPause = QStringLiteral("Пауза");
inline const QString kSaveToFile = QStringLiteral("Сохранить в файл…");
inline const QString kRecordToFile = QStringLiteral("Записывать в файл");
// What the recording state beside that button is, for a screen reader.
inline const QString kRecordingState = QStringLiteral("Запись в файл");
inline const QString kFileSaved = QStringLiteral("Файл сохранён");
inline const QString kFileNotSaved = QStringLiteral("Файл не сохранён");
} // namespace window_text

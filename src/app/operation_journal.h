#pragma once

#include <QString>

// How the journal names an operation on a file of parameters, the file's full path following:
// the same words whether the parameter window or the batch mode performed it.
namespace operation_text {
inline const QString kSavedToFile = QStringLiteral("Сохранение в файл ");
inline const QString kComparedWithFile = QStringLiteral("Сравнение с файлом ");
inline const QString kReportToFile = QStringLiteral("Отчёт в файл ");
// Followed by the two paths joined by kAnd.
inline const QString kComparedFiles = QStringLiteral("Сравнение файлов ");
inline const QString kAnd = QStringLiteral(" и ");
} // namespace operation_text

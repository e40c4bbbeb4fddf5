#pragma once

#include <QString>
#include <functional>

class MessageBoxService;
class StatusLine;
struct ParamReport;

// The parameter report as a PDF: A4, the heading, then one table row per parameter under a
// header row that repeats on every page, and "Страница N из M" at the foot of every page.
// Fonts are laid out through Qt Gui, so a QGuiApplication must exist (offscreen is enough).

// Writes the whole file or leaves what was there; empty when done, else why not, in Russian.
QString WriteParamReport(const ParamReport& report, const QString& path);

// The name typed in the picker, ".pdf" added unless it ends so already (in any letter case).
QString ReportFileName(const QString& typed);

// «Отчёт…»: saved into the picker's folder under ReportFileName(typed), asked and retried like
// the window's other saves. True when the file was written.
bool SaveParamReport(StatusLine& status, MessageBoxService& messages, const ParamReport& report,
                     const QString& folder, const QString& typed);

#pragma once

#include <QChar>
#include <QString>

class ChartWindow;
class MessageBoxService;
class QWidget;

// «Открыть запись…» and --open-record: a recording file shown in a chart window of its own,
// which is deleted when closed and whose own «Открыть запись…» opens the next file the same way.
// What of the file was left out is told once the window shows; a file that cannot be read or is
// no recording is refused in a message box, and no window opens (nullptr).
ChartWindow* OpenRecordingWindow(const QString& path, QChar decimalSeparator,
                                 MessageBoxService& boxes, QWidget* owner);

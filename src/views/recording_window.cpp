#include "views/recording_window.h"

#include "history/recording_file.h"
#include "host/message_box.h"
#include "views/chart_window.h"

#include <QGuiApplication>

ChartWindow* OpenRecordingWindow(const QString& path, QChar decimalSeparator,
                                 MessageBoxService& boxes, QWidget* owner) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    auto recording = std::make_unique<const RecordingFile>(path);
    QGuiApplication::restoreOverrideCursor();
    if (!recording->refusal().isEmpty()) {
        boxes.ask(MessageIcon::Warning, QStringLiteral("Запись не открыта"), recording->refusal(),
                  MessageButtons::Ok);
        return nullptr;
    }
    const QString omissions = recording->omissions();
    auto* window = new ChartWindow(std::move(recording), decimalSeparator, owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(window, &ChartWindow::recordingChosen, window,
                     [decimalSeparator, &boxes, owner](const QString& next) {
                         OpenRecordingWindow(next, decimalSeparator, boxes, owner);
                     });
    window->show();
    window->raise();
    window->activateWindow();
    if (!omissions.isEmpty())
        boxes.ask(MessageIcon::Warning, QStringLiteral("Запись прочитана не вся"), omissions,
                  MessageButtons::Ok);
    return window;
}

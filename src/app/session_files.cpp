#include "app/session_files.h"

#include "history/session_recorder.h"
#include "text/file_failure.h"
#include "traffic/traffic_monitor.h"

#include <QStandardPaths>

QStringList OpenSessionFiles(const SessionFiles& files, TrafficMonitor& traffic,
                             SessionRecorder& session) {
    QStringList failures;
    if (!files.traffic_log.isEmpty() && !traffic.startLog(files.traffic_log))
        failures << FileFailure(files.traffic_log, traffic.logError());
    if (!files.record.isEmpty() && !session.startRecording(files.record))
        failures << FileFailure(files.record, session.recordingError());
    if (files.journal.isEmpty())
        session.journal().useDailyFiles(
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
            QStringLiteral("/journal"));
    else if (!session.journal().useFile(files.journal))
        failures << session.journal().error();
    return failures;
}

#pragma once

#include "disk/csv_log_file.h"
#include "link/link_event.h"
#include "params/param_catalogue.h"
#include "traffic/link_statistics.h"
#include "traffic/traffic_rows.h"

#include <QObject>
#include <QTimer>

// Watches the line for the traffic monitor: every event of the exchange becomes a decoded row,
// counts in the statistics and, while recording, a line of the log file. It is fed from the
// exchange tick and only appends there; the log reaches the disk once a second.
class TrafficMonitor : public QObject {
    Q_OBJECT
public:
    // `maxRows`: how many rows the table keeps.
    TrafficMonitor(const ParamCatalogue& catalogue, QChar decimalSeparator,
                   int maxRows = TrafficRows::kMaxRows);
    ~TrafficMonitor() override;

    void take(const LinkEvent& event) { take(event, CsvTime(event.wall_ms)); }
    // An event whose time is written already (a log read back, where formatting each row's time
    // anew would cost a third of the reading).
    void take(const LinkEvent& event, QString time);

    TrafficRows& rows() { return table; }
    // What decodes its frames, so that a log read back is decoded alike.
    const ParamCatalogue& paramCatalogue() const { return catalogue; }
    QChar decimalSeparator() const { return decimal_separator; }
    LinkStatistics& statistics() { return figures; }

    // Starts recording into path (appending); false, with logError() telling why, when it
    // cannot be opened.
    bool startLog(const QString& path);
    void stopLog();
    bool logging() const { return log.isOpen(); }
    QString logFileName() const { return log.fileName(); }
    // Why recording stopped; empty while it goes well.
    QString logError() const { return log.error(); }
    // Writes the lines waiting for the log now (a timer does it every second).
    void flushLog();

signals:
    // Recording stopped because the file could not be written; said once.
    void logFailed(const QString& error);

private:
    const ParamCatalogue& catalogue;
    QChar decimal_separator;
    TrafficRows table;
    LinkStatistics figures;
    CsvLogFile log;
    QTimer log_timer;
    bool background_request = false;
};

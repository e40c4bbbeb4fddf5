#pragma once

#include "disk/csv_file_reader.h"
#include "traffic/traffic_monitor.h"

// A traffic log opened in a monitor window of its own keeps this many rows, the newest (a day of
// the line fills some 1.7 million); its statistics count every row of the file.
inline constexpr int kOpenedLogRows = 100000;

// Reads a traffic log (what --traffic-log and «Записывать в файл» write) into `monitor` as the
// line had it: each row an event of the exchange again, decoded anew and counted by the
// statistics, the response time of an answer being the time from its request's row to its own.
// A row that is not such an event (a time, direction, bytes or result it cannot take) is counted
// as unread; a file that is no traffic log is refused.
CsvReadOutcome ReadTrafficLog(const QString& path, TrafficMonitor& monitor);

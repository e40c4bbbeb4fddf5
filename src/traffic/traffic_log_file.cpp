#include "traffic/traffic_log_file.h"

bool TrafficLogFile::open(const QString& path) {
    close();
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return fail();
    error_text.clear();
    if (file.size() == 0)
        buffer = traffic_text::FileStart();
    return true;
}

void TrafficLogFile::append(const TrafficRow& row) {
    if (file.isOpen())
        buffer += traffic_text::LogLine(row).toUtf8() + "\r\n";
}

bool TrafficLogFile::flush() {
    if (!file.isOpen() || buffer.isEmpty())
        return true;
    if (file.write(buffer) != buffer.size() || !file.flush())
        return fail();
    buffer.clear();
    return true;
}

void TrafficLogFile::close() {
    flush();
    file.close();
    buffer.clear();
}

bool TrafficLogFile::fail() {
    error_text = file.errorString();
    file.close();
    buffer.clear();
    return false;
}

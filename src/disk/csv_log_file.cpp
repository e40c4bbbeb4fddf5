#include "disk/csv_log_file.h"

#include "text/file_failure.h"

#include <QDateTime>

QByteArray CsvFileStart(const QString& header) {
    return QByteArrayLiteral("\xEF\xBB\xBF") + header.toUtf8() + "\r\n";
}

QString CsvTime(std::int64_t wallMs) {
    return QDateTime::fromMSecsSinceEpoch(wallMs).toString(
        QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

std::optional<std::int64_t> CsvTimeMs(QStringView text) {
    const QDateTime time =
        QDateTime::fromString(text.toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    if (!time.isValid())
        return std::nullopt;
    return time.toMSecsSinceEpoch();
}

bool CsvLogFile::open(const QString& path, const QString& header) {
    close();
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return fail();
    error_text.clear();
    if (file.size() == 0)
        buffer = CsvFileStart(header);
    return true;
}

void CsvLogFile::append(const QString& line) {
    if (file.isOpen())
        buffer += line.toUtf8() + "\r\n";
}

bool CsvLogFile::flush() {
    if (!file.isOpen() || buffer.isEmpty())
        return true;
    if (file.write(buffer) != buffer.size() || !file.flush())
        return fail();
    buffer.clear();
    return true;
}

void CsvLogFile::close() {
    flush();
    file.close();
    buffer.clear();
}

bool CsvLogFile::fail() {
    error_text = FileFailureReason(file.fileName(), file.errorString());
    file.close();
    buffer.clear();
    return false;
}

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

std::optional<std::int64_t> CsvTimeReader::operator()(QStringView text) {
    static const QString kForm = QStringLiteral("0000-00-00 00:00:00.000");
    if (text.size() != kForm.size())
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (kForm[i] == u'0' ? text[i] < u'0' || text[i] > u'9' : text[i] != kForm[i])
            return std::nullopt;
    const auto number = [text](qsizetype at, qsizetype digits) {
        return text.sliced(at, digits).toInt();
    };
    const int minute = number(14, 2), second = number(17, 2);
    if (minute > 59 || second > 59)
        return std::nullopt;
    if (text.first(13) != hour) {
        const QDateTime start(QDate(number(0, 4), number(5, 2), number(8, 2)),
                              QTime(number(11, 2), 0));
        if (!start.isValid() || start.time().hour() != number(11, 2))
            return std::nullopt;
        hour = text.first(13).toString();
        hour_ms = start.toMSecsSinceEpoch();
    }
    return hour_ms + (minute * 60 + second) * 1000 + number(20, 3);
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

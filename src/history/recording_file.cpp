#include "history/recording_file.h"

#include "history/recording_line.h"
#include "text/file_failure.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <cmath>
#include <limits>

namespace {
// A row of ours is some 100 bytes; a longer line is no row, and is read past whole.
constexpr qint64 kLongestLine = 1024;
// The message names this many rows and counts the rest.
constexpr int kNamedRows = 10;

// Reads "2026-12-07 10:20:30.045", local time as CsvTime writes it. The system's zone rules are
// asked once a minute of the file, not for each of a day's 432,000 rows.
class LocalTimes {
public:
    bool read(const char* text, qsizetype size, std::int64_t& wallMs) {
        static constexpr char kShape[] = "0000-00-00 00:00:00.000";
        if (size != qsizetype(sizeof kShape) - 1)
            return false;
        std::int64_t minuteKey = 0;
        int fields[7] = {};
        int field = 0;
        for (qsizetype i = 0; i < size; ++i) {
            const bool digitWanted = kShape[i] == '0';
            const bool digit = text[i] >= '0' && text[i] <= '9';
            if (digitWanted != digit || (!digit && text[i] != kShape[i]))
                return false;
            if (digit)
                fields[field] = fields[field] * 10 + (text[i] - '0');
            else
                ++field;
            if (i < 16 && digit)
                minuteKey = minuteKey * 10 + (text[i] - '0');
        }
        const auto [year, month, day, hour, minute, second, ms] = fields;
        if (second > 59)
            return false;
        if (minuteKey != last_key) {
            const QDate date(year, month, day);
            const QDateTime start(date, QTime(hour, minute));
            if (!date.isValid() || hour > 23 || minute > 59 || !start.isValid())
                return false;
            last_key = minuteKey;
            last_start = start.toMSecsSinceEpoch();
        }
        wallMs = last_start + second * 1000 + ms;
        return true;
    }

private:
    std::int64_t last_key = -1;
    std::int64_t last_start = 0;
};

// "85,3", "-2.5", "100000" (either decimal separator, as the recording machine's system had
// it); an empty field is a value the window did not show.
bool readValue(const char* text, qsizetype size, double scale, float& raw) {
    if (size == 0) {
        raw = std::numeric_limits<float>::quiet_NaN();
        return true;
    }
    const bool negative = text[0] == '-';
    std::int64_t mantissa = 0;
    int digits = 0, decimals = 0;
    bool point = false;
    for (qsizetype i = negative ? 1 : 0; i < size; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            if (++digits > 15) // beyond a double's exact integers: no value of ours
                return false;
            mantissa = mantissa * 10 + (c - '0');
            decimals += point ? 1 : 0;
        } else if ((c == ',' || c == '.') && !point && digits > 0) {
            point = true;
        } else {
            return false;
        }
    }
    if (digits == 0 || (point && decimals == 0))
        return false;
    const double value =
        static_cast<double>(negative ? -mantissa : mantissa) / std::pow(10.0, decimals);
    raw = static_cast<float>(value / scale);
    return true;
}

// The time and the ten values, each in its own field.
bool readRow(const char* text, qsizetype size, LocalTimes& times, EngineSample& sample) {
    int field = 0;
    qsizetype begin = 0;
    for (qsizetype i = 0; i <= size; ++i) {
        if (i < size && text[i] != ';')
            continue;
        if (field > kQuantityCount)
            return false;
        const bool read =
            field == 0 ? times.read(text + begin, i - begin, sample.wall_ms)
                       : readValue(text + begin, i - begin, LookOf(QuantityAt(field - 1)).scale,
                                   sample.raw[field - 1]);
        if (!read)
            return false;
        ++field;
        begin = i + 1;
    }
    return field == kQuantityCount + 1;
}

QByteArray withoutLineEnd(QByteArray line) {
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return line;
}
} // namespace

RecordingFile::RecordingFile(const QString& path) : file_path(path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        refusal_text = FileFailure(path, file.errorString());
        return;
    }
    QByteArray header = withoutLineEnd(file.readLine(kLongestLine));
    if (header.startsWith("\xEF\xBB\xBF"))
        header.remove(0, 3);
    if (QString::fromUtf8(header) != RecordingHeader()) {
        refusal_text =
            QStringLiteral("%1: это не запись значений этой программы (запись начинается "
                           "строкой «%2;…»).")
                .arg(QDir::toNativeSeparators(path), RecordingHeader().section(u';', 0, 1));
        return;
    }
    readRows(file);
}

void RecordingFile::readRows(QFile& file) {
    LocalTimes times;
    char line[kLongestLine];
    int number = 1; // the header's
    const auto unread = [&] {
        if (first_unread.size() < kNamedRows)
            first_unread.append(number);
        ++unread_count;
    };
    while (!file.atEnd()) {
        qint64 size = file.readLine(line, kLongestLine);
        if (size < 0)
            break;
        ++number;
        if (size == 0 || line[size - 1] != '\n') {
            if (file.atEnd() && size > 0) {
                // The last line, unended: a recording cut short keeps its last whole row.
            } else {
                while (!file.atEnd() && (size = file.readLine(line, kLongestLine)) > 0 &&
                       line[size - 1] != '\n') {
                }
                unread();
                continue;
            }
        }
        while (size > 0 && (line[size - 1] == '\n' || line[size - 1] == '\r'))
            --size;
        if (size == 0)
            continue;
        EngineSample sample;
        if (readRow(line, size, times, sample)) {
            samples.append(sample);
            ++rows_read;
        } else {
            unread();
        }
    }
}

QString RecordingFile::omissions() const {
    QStringList told;
    if (unread_count > 0) {
        QStringList numbers;
        for (const int number : first_unread)
            numbers.append(QString::number(number));
        if (unread_count > first_unread.size())
            numbers.append(QStringLiteral("…"));
        told.append(unread_count == 1
                        ? QStringLiteral("Не прочитана строка %1; остальные показаны.")
                              .arg(numbers.constFirst())
                        : QStringLiteral("Не прочитаны строки: %1 (всего %2); остальные показаны.")
                              .arg(numbers.join(QStringLiteral(", ")))
                              .arg(unread_count));
    }
    if (rows_read > samples.size())
        told.append(QStringLiteral("Окно хранит не больше суток значений (до %1 строк): показана "
                                   "последняя часть записи, %2 строк из %3.")
                        .arg(EngineHistory::kMaxSamples)
                        .arg(samples.size())
                        .arg(rows_read));
    return told.join(u' ');
}

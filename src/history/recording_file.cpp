#include "history/recording_file.h"

#include "disk/csv_log_file.h"
#include "history/recording_line.h"

#include <QStringList>
#include <cmath>
#include <limits>

namespace {
// "85,3", "-2.5", "100000" (either decimal separator, as the recording machine's system had
// it); an empty field is a value the window did not show.
bool readValue(QStringView text, double scale, float& raw) {
    if (text.isEmpty()) {
        raw = std::numeric_limits<float>::quiet_NaN();
        return true;
    }
    const bool negative = text[0] == u'-';
    std::int64_t mantissa = 0;
    int digits = 0, decimals = 0;
    bool point = false;
    for (qsizetype i = negative ? 1 : 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            if (++digits > 15) // beyond a double's exact integers: no value of ours
                return false;
            mantissa = mantissa * 10 + (c - u'0');
            decimals += point ? 1 : 0;
        } else if ((c == u',' || c == u'.') && !point && digits > 0) {
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
bool readRow(QStringView line, CsvTimeReader& times, EngineSample& sample) {
    const QList<QStringView> fields = CsvFields(line, kQuantityCount + 1);
    if (fields.size() != kQuantityCount + 1)
        return false;
    const std::optional<std::int64_t> wallMs = times(fields[0]);
    if (!wallMs)
        return false;
    sample.wall_ms = *wallMs;
    for (int k = 0; k < kQuantityCount; ++k)
        if (!readValue(fields[k + 1], LookOf(QuantityAt(k)).scale, sample.raw[k]))
            return false;
    return true;
}
} // namespace

RecordingFile::RecordingFile(const QString& path) : file_path(path) {
    CsvTimeReader times;
    outcome = ReadCsvFile(path, RecordingHeader(), QStringLiteral("запись значений этой программы"),
                          [&](QStringView line) {
                              EngineSample sample;
                              if (!readRow(line, times, sample))
                                  return false;
                              samples.append(sample);
                              return true;
                          });
}

QString RecordingFile::omissions() const {
    QStringList told;
    if (outcome.unread > 0)
        told.append(outcome.unreadText());
    if (outcome.read > samples.size())
        told.append(QStringLiteral("Окно хранит не больше суток значений (до %1 строк): показана "
                                   "последняя часть записи, %2 строк из %3.")
                        .arg(EngineHistory::kMaxSamples)
                        .arg(samples.size())
                        .arg(outcome.read));
    return told.join(u' ');
}

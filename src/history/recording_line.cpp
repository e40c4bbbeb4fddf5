#include "history/recording_line.h"

#include "disk/csv_log_file.h"

#include <QStringList>

QString RecordingHeader() {
    QStringList fields{kTimeColumn};
    for (int q = 0; q < kQuantityCount; ++q)
        fields.append(QuantityTitle(QuantityAt(q)));
    return fields.join(QLatin1Char(';'));
}

QString RecordingLine(std::int64_t wallMs, const QuantityValues& values, bool shaftShown,
                      QChar decimalSeparator) {
    QStringList fields{CsvTime(wallMs)};
    for (int q = 0; q < kQuantityCount; ++q) {
        const Quantity quantity = QuantityAt(q);
        fields.append(quantity == Quantity::ShaftSpeed && !shaftShown
                          ? QString()
                          : QuantityText(quantity, values[q], decimalSeparator));
    }
    return fields.join(QLatin1Char(';'));
}

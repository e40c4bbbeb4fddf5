#include "params/write_check.h"

#include "link/slave_address.h"
#include "params/param_description.h"
#include "params/param_requests.h"
#include "params/param_values.h"
#include "text/russian_count.h"

#include <QRegularExpression>
#include <QStringList>

namespace {
constexpr int kNamedAtMost = 20;
constexpr int kDetailedAtMost = 10;
// The verb agrees with the count as the noun does: «не совпал 1 параметр», «не совпали 2».
constexpr RussianNoun kDiffered{"не совпал", "не совпали", "не совпали"};

// The value as the controller holds it after a write: its low bytes, signed where the
// parameter's scale is negative (as the answers are decoded).
std::int32_t asStored(std::int32_t value, int size, double scale) {
    const int bits = 8 * size;
    if (bits >= 32)
        return value;
    const std::int64_t span = std::int64_t{1} << bits;
    std::int64_t low = static_cast<std::int64_t>(static_cast<std::uint32_t>(value)) % span;
    if (scale < 0 && low >= span / 2)
        low -= span;
    return static_cast<std::int32_t>(low);
}
} // namespace

StoredValues ExpectedAfterWriteAll(const ParamCatalogue& catalogue, const ParamBoxes& boxes) {
    StoredValues expected{};
    for (int i = 0; i < kParamCount; ++i)
        expected[i] = asStored(WrittenValue(i, catalogue, boxes), catalogue.param_size[i],
                               catalogue.param_scale[i]);
    return expected;
}

QList<int> NotStoredAsWritten(const StoredValues& expected, const ControllerImage& image) {
    QList<int> differing;
    for (int i = 0; i < kParamCount; ++i)
        if (!image.value(i) || image.value(i)->stored != expected[i])
            differing.append(i);
    return differing;
}

QString ParamNumberList(const QList<int>& params) {
    QStringList numbers;
    for (int i = 0; i < std::min<int>(kNamedAtMost, static_cast<int>(params.size())); ++i)
        numbers.append(QString::number(params[i]));
    if (params.size() > kNamedAtMost)
        numbers.append(QStringLiteral("…"));
    return numbers.join(QStringLiteral(", "));
}

QString WriteCheckText(const QList<int>& notStored) {
    if (notStored.isEmpty())
        return QStringLiteral("Проверка записи: все %1 записаны верно")
            .arg(CountOf(kParamCount, nouns::kParameter));
    return QStringLiteral("Проверка записи: %1 %2")
        .arg(NounFor(notStored.size(), kDiffered), CountOf(notStored.size(), nouns::kParameter));
}

QString WrittenText(int index, const StoredValues& expected, const ParamCatalogue& catalogue,
                    QChar decimalSeparator) {
    return StoredValueText(expected[index], catalogue.param_scale[index], decimalSeparator)
        .trimmed();
}

QStringList WriteCheckDetails(const QList<int>& notStored, const StoredValues& expected,
                              const ControllerImage& image, const ParamCatalogue& catalogue,
                              QChar decimalSeparator) {
    QStringList lines;
    for (const int i : notStored.first(std::min<qsizetype>(kDetailedAtMost, notStored.size()))) {
        const std::optional<ParamValueText>& stored = image.value(i);
        lines << QStringLiteral("%1 «%2»: записано %3, %4")
                     .arg(QString::number(i), ParamDescription(i),
                          WrittenText(i, expected, catalogue, decimalSeparator),
                          stored ? QStringLiteral("сохранено ") + stored->text.trimmed()
                                 : QStringLiteral("контроллер не сообщил значение"));
    }
    if (notStored.size() > kDetailedAtMost)
        lines << QStringLiteral("и ещё ") +
                     CountOf(notStored.size() - kDetailedAtMost, nouns::kParameter);
    return lines;
}

QList<int> NotWritableAsGiven(const ParamCatalogue& catalogue, const ParamBoxes& boxes) {
    static const QRegularExpression plainNumber(
        QStringLiteral(R"(^\s*[+-]?(\d+([.,]\d*)?|[.,]\d+)\s*$)"));
    QList<int> refused;
    for (int i = 0; i < kParamCount; ++i) {
        const QString text = boxes.text(i);
        ValueRange range = RangeFor(catalogue.param_size[i], catalogue.param_scale[i]);
        if (i == kOwnAddressParam)
            range.max = std::min(range.max, kMaxSlaveAddress);
        const std::int32_t whole = RoundToWhole(ParseNumberText(text) / range.factor);
        if (!plainNumber.match(text).hasMatch() || whole < range.min || whole > range.max)
            refused.append(i);
    }
    return refused;
}

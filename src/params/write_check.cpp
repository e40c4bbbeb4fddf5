#include "params/write_check.h"

#include "link/slave_address.h"
#include "params/param_requests.h"
#include "params/param_values.h"

#include <QRegularExpression>
#include <QStringList>

namespace {
constexpr int kNamedAtMost = 20;

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
        return QStringLiteral("Проверка записи: все %1 параметров записаны верно").arg(kParamCount);
    return QStringLiteral("Проверка записи: не совпали %1 параметров: ").arg(notStored.size()) +
           ParamNumberList(notStored);
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

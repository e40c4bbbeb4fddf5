// Parameter text to stored integer, for every width, sign and factor of the catalogue and for
// the controller's own address: the result always lies in the caller's range and is the text's
// number divided by the factor, rounded; the number reader takes any text.

#include "files/value_text.h"
#include "fuzz_check.h"

#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

constexpr std::array<double, 7> kScales{1, 10, 6, 0.1, -1, -0.1, -0.01};

QByteArray Describe(const QString& text) {
    return "text \"" + text.toUtf8() + "\" (" + text.toUtf8().toHex(' ') + ")";
}

bool SameNumber(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || a == b;
}

void CheckConversion(const QString& text, double number, int min, int max, double factor) {
    const std::int32_t r = TextToValue(text, min, max, factor);
    FUZZ_CHECK(r >= min && r <= max, Describe(text) + " gave " + QByteArray::number(r) + " for " +
                                         QByteArray::number(min) + ".." + QByteArray::number(max));
    const double q = number / factor;
    if (!std::isfinite(q))
        return;
    // Halves away from zero; the 15 significant digits RoundToWhole works with may move a value
    // within rounding noise of a half by one.
    const double expected = std::clamp(std::round(q), double(min), double(max));
    FUZZ_CHECK(std::fabs(r - expected) <= 1, Describe(text) + " / " + QByteArray::number(factor) +
                                                 " gave " + QByteArray::number(r) + ", expected " +
                                                 QByteArray::number(expected, 'g', 17));
}

void CheckText(const QString& text) {
    const double number = ParseNumberText(text);
    // Blanks count nowhere, and "%" ends the number.
    FUZZ_CHECK(SameNumber(ParseNumberText(text + QLatin1Char(' ')), number), Describe(text));
    FUZZ_CHECK(SameNumber(ParseNumberText(text + QStringLiteral("%,5")), number), Describe(text));

    for (const int size : {1, 2}) {
        for (const double scale : kScales) {
            const ValueRange range = RangeFor(size, scale);
            const int bits = 8 * size;
            const int expectedMin = scale < 0 ? -(1 << (bits - 1)) : 0;
            const int expectedMax = scale < 0 ? (1 << (bits - 1)) - 1 : (1 << bits) - 1;
            FUZZ_CHECK(range.min == expectedMin && range.max == expectedMax &&
                           range.factor == std::fabs(scale),
                       "range of size " + QByteArray::number(size) + ", scale " +
                           QByteArray::number(scale));
            CheckConversion(text, number, range.min, range.max, range.factor);
        }
    }
    // The controller's own address, as the single edit converts it.
    CheckConversion(text, number, 0, 127, 1);
}

void CheckRounding(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(double))
        return;
    double x = 0;
    std::memcpy(&x, data, sizeof x);
    const std::int32_t r = RoundToWhole(x);
    if (std::isnan(x)) {
        FUZZ_CHECK(r == 0, "NaN gave " + QByteArray::number(r));
        return;
    }
    const double expected = std::clamp(std::round(x), -2147483648.0, 2147483647.0);
    FUZZ_CHECK(std::fabs(r - expected) <= 1,
               QByteArray::number(x, 'g', 17) + " gave " + QByteArray::number(r));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto* chars = reinterpret_cast<const char*>(data);
    CheckText(QString::fromUtf8(chars, qsizetype(size)));
    // Texts that no UTF-8 decoder would produce: lone surrogates, NULs, any code unit.
    QString units(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(units.data(), data, size / 2 * sizeof(QChar));
    CheckText(units);
    CheckRounding(data, size);
    return 0;
}

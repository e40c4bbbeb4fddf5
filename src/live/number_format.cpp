#include "live/number_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace {
constexpr int kSignificant = 15;

// Adds one unit in the last place of a string of decimal digits.
void incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// Rounds the 15 significant digits of `mantissa` (value = 0.d1d2… × 10^(exponent + 1)) to
// `decimals` places, half to even, and returns the result as a count of 10^-decimals units.
std::string roundToUnits(const std::string& mantissa, int exponent, int decimals) {
    const int kept = exponent + decimals + 1;
    if (kept < 0)
        return "0";
    std::string units = mantissa.substr(0, std::min(kept, kSignificant));
    if (kept >= kSignificant)
        return units + std::string(kept - kSignificant, '0');

    const std::string rest = mantissa.substr(kept);
    const std::string half = "5" + std::string(rest.size() - 1, '0');
    const int lastKept = units.empty() ? 0 : units.back() - '0';
    const int order = rest.compare(half);
    if (order > 0 || (order == 0 && lastKept % 2 == 1))
        incrementDigits(units);
    return units.empty() ? "0" : units;
}

// value × scale as a count of 10^-decimals units, rounded half to even, in integers: for a scale
// that is a whole number or the double nearest 1/n (every scale the displays use) and a count
// below 10^13. There the product's 15 significant digits are the exact quotient's (or fall on
// the same side of every tie), so the digits equal those of the general path below, without
// printing a double.
std::optional<std::int64_t> exactUnits(std::int64_t value, int decimals, double scale) {
    constexpr std::int64_t kExactBelow = 10'000'000'000'000;
    if (!(scale >= 1e-6 && scale <= 1e6) || value <= -kExactBelow || value >= kExactBelow)
        return std::nullopt;
    std::int64_t times = 1, divisor = 1;
    if (scale >= 1 && scale == std::floor(scale))
        times = static_cast<std::int64_t>(scale);
    else if (const double inverse = std::round(1 / scale); 1 / inverse == scale)
        divisor = static_cast<std::int64_t>(inverse);
    else
        return std::nullopt;
    for (int k = 0; k < decimals && times < kExactBelow; ++k)
        times *= 10;
    std::int64_t numerator = value < 0 ? -value : value;
    if (numerator >= kExactBelow / times)
        return std::nullopt;
    numerator *= times;
    std::int64_t units = numerator / divisor;
    const std::int64_t rest = numerator % divisor;
    if (2 * rest > divisor || (2 * rest == divisor && units % 2 == 1))
        ++units;
    return units;
}

// The general path: "d.dddddddddddddde±x" is the product correctly rounded to 15 significant
// digits.
std::string printedUnits(double product, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*e", kSignificant - 1, std::fabs(product));
    const std::string mantissa = std::string(1, text[0]) + std::string(text + 2, kSignificant - 1);
    const int exponent = std::atoi(text + kSignificant + 2);
    return roundToUnits(mantissa, exponent, decimals);
}
} // namespace

QString FormatScaled(std::int64_t value, int decimals, double scale, const QString& unit,
                     QChar decimalSeparator) {
    decimals = std::clamp(decimals, 0, kSignificant);
    const double product = static_cast<double>(value) * scale;
    if (!std::isfinite(product))
        return QString::number(product) + QLatin1Char(' ') + unit;

    const std::optional<std::int64_t> exact = exactUnits(value, decimals, scale);
    std::string units = exact ? std::to_string(*exact) : printedUnits(product, decimals);
    if (static_cast<int>(units.size()) <= decimals)
        units.insert(0, decimals + 1 - units.size(), '0');
    const std::size_t wholeDigits = units.size() - decimals;
    std::size_t fractionDigits = decimals;
    while (fractionDigits > 0 && units[wholeDigits + fractionDigits - 1] == '0')
        --fractionDigits;

    const bool zero = units.find_first_not_of('0') == std::string::npos;
    QString result;
    result.reserve(qsizetype(units.size() + unit.size()) + 3);
    if (product < 0 && !zero)
        result += QLatin1Char('-');
    result += QLatin1String(units.data(), qsizetype(wholeDigits));
    if (fractionDigits > 0) {
        result += decimalSeparator;
        result += QLatin1String(units.data() + wholeDigits, qsizetype(fractionDigits));
    }
    result += QLatin1Char(' ');
    result += unit;
    return result;
}

QString HexPadded(std::uint32_t value, int digits) {
    char text[8];
    int length = 0;
    do {
        text[sizeof text - ++length] = "0123456789ABCDEF"[value % 16];
        value /= 16;
    } while (value != 0);
    QString result;
    result.reserve(std::max(length, digits));
    result.fill(QLatin1Char('0'), std::max(digits - length, 0));
    result += QLatin1String(text + sizeof text - length, length);
    return result;
}

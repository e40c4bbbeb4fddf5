#include "live/number_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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
} // namespace

QString FormatScaled(std::int64_t value, int decimals, double scale, const QString& unit,
                     QChar decimalSeparator) {
    decimals = std::clamp(decimals, 0, kSignificant);
    const double product = static_cast<double>(value) * scale;
    if (!std::isfinite(product))
        return QString::number(product) + QLatin1Char(' ') + unit;

    // "d.dddddddddddddde±x": the product correctly rounded to 15 significant digits.
    char text[32];
    std::snprintf(text, sizeof text, "%.*e", kSignificant - 1, std::fabs(product));
    const std::string mantissa = std::string(1, text[0]) + std::string(text + 2, kSignificant - 1);
    const int exponent = std::atoi(text + kSignificant + 2);

    std::string units = roundToUnits(mantissa, exponent, decimals);
    if (static_cast<int>(units.size()) <= decimals)
        units.insert(0, decimals + 1 - units.size(), '0');
    const std::string whole = units.substr(0, units.size() - decimals);
    std::string fraction = units.substr(units.size() - decimals);
    fraction.erase(fraction.find_last_not_of('0') + 1);

    const bool zero = units.find_first_not_of('0') == std::string::npos;
    QString result = product < 0 && !zero ? QStringLiteral("-") : QString();
    result += QString::fromLatin1(whole.data(), static_cast<qsizetype>(whole.size()));
    if (!fraction.empty()) {
        result += decimalSeparator;
        result += QString::fromLatin1(fraction.data(), static_cast<qsizetype>(fraction.size()));
    }
    return result + QLatin1Char(' ') + unit;
}

QString HexPadded(std::uint32_t value, int digits) {
    return QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

#include "params/param_values.h"

#include "link/slave_address.h"

#include <QByteArray>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

// Beyond this many decimal places either way a double is infinite or zero, so the exponent
// need not be read further.
constexpr int kExponentLimit = 100000;

// Only ASCII digits count: the reader knows no other script's digits.
int DigitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

bool IsDigit(QChar c) {
    return c >= QChar('0') && c <= QChar('9');
}

double ReadRadix(const QString& text, int base) {
    double value = 0;
    for (qsizetype at = 2; at < text.size(); ++at) {
        const int digit = DigitValue(text[at]);
        if (digit < 0 || digit >= base)
            break;
        value = value * base + digit;
    }
    return value;
}

// Sign, digits with one point, exponent: copied into plain ASCII for the locale-free parser.
double ReadDecimal(const QString& text) {
    std::string number;
    qsizetype at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        number += char(text[at++].unicode());
    bool point = false;
    bool digits = false;
    // Position of the first significant digit relative to the point, to tell an overflow from
    // an underflow should the parser refuse the number.
    long long magnitude = 0;
    bool significant = false;
    for (; at < text.size(); ++at) {
        const QChar c = text[at];
        if (IsDigit(c)) {
            digits = true;
            number += char(c.unicode());
            if (c != '0')
                significant = true;
            if (!point && significant)
                ++magnitude;
            else if (point && !significant)
                --magnitude;
        } else if (c == '.' && !point) {
            point = true;
            number += '.';
        } else {
            break;
        }
    }
    if (!digits)
        return 0;
    long long exponent = 0;
    if (at < text.size() && QString("EeDd").contains(text[at])) {
        qsizetype e = at + 1;
        const bool negative = e < text.size() && text[e] == '-';
        if (e < text.size() && (text[e] == '+' || text[e] == '-'))
            ++e;
        if (e < text.size() && IsDigit(text[e])) {
            for (; e < text.size() && IsDigit(text[e]); ++e)
                exponent = std::min<long long>(exponent * 10 + DigitValue(text[e]), kExponentLimit);
            if (negative)
                exponent = -exponent;
            number += 'e' + std::to_string(exponent);
        }
    }
    const bool negative = number.front() == '-';
    const char* first = number.data() + (number.front() == '+' || negative ? 1 : 0);
    double value = 0;
    const auto result = std::from_chars(first, number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        value = magnitude + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}

} // namespace

double ParseNumberText(const QString& text) {
    QString t = text;
    const qsizetype comma = t.indexOf(QChar(','));
    if (comma >= 0)
        t[comma] = QChar('.');
    const qsizetype percent = t.indexOf(QChar('%'));
    if (percent >= 0)
        t.truncate(percent);
    t.remove(QChar(' ')).remove(QChar('\t')).remove(QChar('\n'));
    if (t.size() >= 2 && t[0] == '&') {
        const QChar radix = t[1].toUpper();
        if (radix == 'H')
            return ReadRadix(t, 16);
        if (radix == 'O')
            return ReadRadix(t, 8);
    }
    return ReadDecimal(t);
}

std::int32_t RoundToWhole(double x) {
    if (std::isnan(x))
        return 0;
    const double r = x > 0 ? x + 0.5 : x - 0.5;
    const double magnitude = std::fabs(r);
    if (magnitude < 1)
        return 0;
    // Below 2^31 the 15 digits round by less than 10^-5, so they reach the next whole number
    // only from a fraction that close to it: any other is cut where it stands, without printing
    // the number (a write-all reads 506 boxes).
    const double cut = std::trunc(magnitude);
    if (magnitude < 2147483648.0 && magnitude - cut < 0.99999)
        return std::int32_t(r > 0 ? cut : -cut);
    const QByteArray digits = QByteArray::number(r, 'g', 15);
    // From 1e15 on the 15 digits no longer reach the units and are written with an exponent;
    // no such number fits 32 bits anyway.
    if (digits.contains('e') || std::isinf(r))
        return r > 0 ? std::numeric_limits<std::int32_t>::max()
                     : std::numeric_limits<std::int32_t>::min();
    const qsizetype point = digits.indexOf('.');
    const long long whole = (point < 0 ? digits : digits.first(point)).toLongLong();
    return std::int32_t(std::clamp<long long>(whole, std::numeric_limits<std::int32_t>::min(),
                                              std::numeric_limits<std::int32_t>::max()));
}

std::int32_t TextToValue(const QString& text, int min, int max, double factor) {
    const std::int32_t r = RoundToWhole(ParseNumberText(text) / factor);
    if (r < min)
        return min;
    if (r > max)
        return max;
    return r;
}

ValueRange RangeFor(int size, double scale) {
    const bool is_signed = scale < 0;
    const double factor = std::fabs(scale);
    if (size == 1)
        return is_signed ? ValueRange{-128, 127, factor} : ValueRange{0, 255, factor};
    return is_signed ? ValueRange{-32768, 32767, factor} : ValueRange{0, 65535, factor};
}

std::int32_t OwnAddressFromText(const QString& text, double scale) {
    return TextToValue(text, 0, kMaxSlaveAddress, scale);
}

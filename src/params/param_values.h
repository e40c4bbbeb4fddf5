#pragma once

#include <QString>
#include <cstdint>

// Parameter text to the integer the controller stores. The boxes show numbers with the user's
// decimal separator and a trailing blank, and users type either separator, so the reader is
// lenient in the same ways whatever the system's language settings.

// The number the text spells, 0 when it spells none: the first "," counts as the decimal point,
// "%" ends the text, blanks, tabs and line feeds are ignored wherever they stand, an optional
// sign, digits with one ".", an exponent with E or D; "&H" and "&O" introduce hexadecimal and
// octal digits. Reading stops at the first character that does not fit. A number too large for
// a double gives an infinity of its sign.
double ParseNumberText(const QString& text);

// x rounded to the nearest whole number, halves away from zero, after rounding to 15 significant
// digits (so 2.9999999999999996 + 0.5 counts as 3). Beyond the 32-bit range the result is the
// nearest 32-bit limit; NaN gives 0.
std::int32_t RoundToWhole(double x);

// The integer to write for a box text: its number divided by factor, rounded, and clamped to
// [min, max]. Numbers without a 32-bit result (infinite, NaN, 1e15 and beyond) clamp as well.
std::int32_t TextToValue(const QString& text, int min, int max, double factor);

// What a parameter of the given width in bytes (1 or 2) and scale may hold: a negative scale
// marks a signed parameter, whose factor is the magnitude of the scale.
struct ValueRange {
    int min = 0;
    int max = 0;
    double factor = 1.0;
};
ValueRange RangeFor(int size, double scale);

// The controller's own address (parameter 23) for a box text: limited to the addresses the line
// uses, whatever the byte could hold.
std::int32_t OwnAddressFromText(const QString& text, double scale);

#pragma once

#include <QChar>
#include <QString>
#include <cstdint>

// The number texts of every display. value × scale is rounded to `decimals` places (0 to 15),
// a tie going to the even neighbour, and written without group separators, without trailing
// zeros and without a separator when whole; one blank and the unit always follow, so an empty
// unit leaves a trailing blank. Ties are judged on the product rounded to 15 significant
// digits, so that 1.5 reached as 90 × (1/60) or 2.675 stored as 2.67499… count as the ties
// they print as.
QString FormatScaled(std::int64_t value, int decimals, double scale, const QString& unit,
                     QChar decimalSeparator);

// Upper-case hexadecimal without prefix, left-padded with "0" to `digits` characters.
QString HexPadded(std::uint32_t value, int digits);

#pragma once

#include <QString>
#include <optional>

class QWidget;

// A value axis' range, as the user fixes it.
struct AxisRange {
    double lower = 0;
    double upper = 0;
};

// «Шкала …»: asks the lowest and highest value an axis shows, starting from `current`; empty
// when the user cancels. The highest stays above the lowest.
std::optional<AxisRange> AskAxisRange(QWidget* parent, const QString& unit, AxisRange current,
                                      int decimals);

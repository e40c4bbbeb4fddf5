#include "value_picker.h"

#include "files/value_text.h"
#include "monitor/number_format.h"

#include <cmath>

namespace {
constexpr int kOwnAddressParam = 23;
// Addresses a controller can take on the line; 0 is the broadcast, which nobody answers.
constexpr int kLowestSlave = 1;
constexpr int kHighestSlave = 127;
} // namespace

PickedValue PickValue(const ParamCatalogue& catalogue, int index, std::mt19937& random) {
    const double scale = catalogue.param_scale[index];
    ValueRange range = RangeFor(catalogue.param_size[index], scale);
    if (index == kOwnAddressParam) {
        range.min = kLowestSlave;
        range.max = kHighestSlave;
    }
    const std::int32_t value =
        std::uniform_int_distribution<std::int32_t>(range.min, range.max)(random);

    const QChar separator = std::bernoulli_distribution(0.5)(random) ? u',' : u'.';
    QString text = FormatScaled(value, 3, std::fabs(scale), QString(), separator);
    switch (std::uniform_int_distribution<int>(0, 3)(random)) {
    case 0:
        text = text.trimmed();
        break;
    case 1:
        text = u' ' + text;
        break;
    default:
        break;
    }
    return {value, text};
}

#include "param_values.h"

#include "files/value_text.h"

std::optional<std::int32_t> StoredValue(const QByteArray& image, const ParamCatalogue& catalogue,
                                        int index) {
    const int address = catalogue.param_address[index];
    const int size = catalogue.param_size[index];
    if (address + size > image.size())
        return std::nullopt;
    std::int32_t value = 0;
    for (int k = 0; k < size; ++k)
        value = value * 256 + static_cast<std::uint8_t>(image[address + k]);
    const std::int32_t span = std::int32_t{1} << (8 * size);
    if (catalogue.param_scale[index] < 0 && value >= span / 2)
        value -= span;
    return value;
}

std::int32_t BoxValue(const QString& text, const ParamCatalogue& catalogue, int index) {
    const ValueRange range = RangeFor(catalogue.param_size[index], catalogue.param_scale[index]);
    return TextToValue(text, range.min, range.max, range.factor);
}

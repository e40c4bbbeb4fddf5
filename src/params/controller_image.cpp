#include "params/controller_image.h"

#include <algorithm>

void ControllerImage::take(int address, const QList<ParamValueText>& answered) {
    if (address != from_address) {
        clear();
        from_address = address;
    }
    for (const ParamValueText& value : answered)
        values[value.index] = value;
}

void ControllerImage::clear() {
    values.fill(std::nullopt);
    from_address = -1;
}

int ControllerImage::missing() const {
    return static_cast<int>(
        std::count_if(values.begin(), values.end(), [](const auto& value) { return !value; }));
}

#include "params/param_editing.h"

#include "params/param_values.h"

namespace {
constexpr int kOwnAddressParam = 23;
}

bool WriteSingleParameter(int index, ParamBoxes& boxes, const ParamCatalogue& catalogue,
                          ExchangeCycle& cycle) {
    if (cycle.request_queue.freeRoom() == 0)
        return false;
    boxes.setState(index, BoxState::Changed);
    const int address = catalogue.param_address[index];
    const int size = catalogue.param_size[index];
    if (index == kOwnAddressParam) {
        const std::int32_t newAddress =
            TextToValue(boxes.text(index), 0, 127, catalogue.param_scale[index]);
        boxes.setText(index, QString::number(newAddress));
        return cycle.QueueAddressWrite(address, newAddress, static_cast<std::uint8_t>(size));
    }
    const ValueRange range = RangeFor(size, catalogue.param_scale[index]);
    const std::int32_t value = TextToValue(boxes.text(index), range.min, range.max, range.factor);
    return QueueWriteRequest(cycle.request_queue, address, value, static_cast<std::uint8_t>(size));
}

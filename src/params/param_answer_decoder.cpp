#include "params/param_answer_decoder.h"

#include "link/big_endian.h"
#include "live/number_format.h"

#include <cmath>

namespace {
int indexOfAddress(const ParamCatalogue& catalogue, int address) {
    int found = -1;
    for (int i = 0; i < kParamCount; ++i)
        if (catalogue.param_address[i] == address)
            found = i;
    return found;
}
} // namespace

QList<ParamValueText> DecodeParamAnswer(const RxBuffer& rx, const ParamCatalogue& catalogue,
                                        QChar decimalSeparator) {
    QList<ParamValueText> values;
    const int start = indexOfAddress(catalogue, rx[2] * 256 + rx[3]);
    if (start < 0)
        return values;
    const int n = rx[4];
    int remaining = n;
    for (int i = start; remaining > 0 && i < kParamCount; ++i) {
        const int cell = 5 + n - remaining;
        const int size = catalogue.param_size[i];
        if (size < 1 || cell + size > RxBuffer::kCells)
            break;
        const double scale = catalogue.param_scale[i];
        const std::int32_t value =
            scale < 0 ? ReadBigEndianSigned(rx, cell, size) : ReadBigEndian(rx, cell, size);
        values.append({i, StoredValueText(value, scale, decimalSeparator), value});
        remaining -= size;
    }
    return values;
}

QString StoredValueText(std::int32_t value, double scale, QChar decimalSeparator) {
    return FormatScaled(value, 3, std::fabs(scale), QString(), decimalSeparator);
}

void ShowParamValues(const QList<ParamValueText>& values, ParamBoxes& boxes) {
    for (const ParamValueText& value : values) {
        boxes.setText(value.index, value.text);
        boxes.setState(value.index, BoxState::FromEeprom);
    }
}

void ShowParamAnswer(const RxBuffer& rx, const ParamCatalogue& catalogue, ParamBoxes& boxes,
                     QChar decimalSeparator) {
    ShowParamValues(DecodeParamAnswer(rx, catalogue, decimalSeparator), boxes);
}

#pragma once

#include "params/param_answer_decoder.h"
#include "params/param_catalogue.h"

#include <QList>
#include <array>
#include <optional>

// What the controller last reported for each parameter (every answer of functions 100 and
// 101), apart from the boxes, which the user edits: the backup before a write-all and the
// read-back check rest on it. It holds one controller's values: an answer from another address
// starts it anew, and the owner clears it when the port changes.
class ControllerImage {
public:
    void take(int address, const QList<ParamValueText>& values);
    void clear();

    // -1 while empty.
    int address() const { return from_address; }
    const std::optional<ParamValueText>& value(int index) const { return values[index]; }
    // Parameters the controller has not reported yet.
    int missing() const;

private:
    std::array<std::optional<ParamValueText>, kParamCount> values;
    int from_address = -1;
};

#pragma once

#include "params/param_boxes.h"
#include "params/param_catalogue.h"

#include <array>
#include <optional>

// The 506 boxes without a window, for the batch mode and the tests: like the real ones, a text
// change turns a box white.
class MemoryParamBoxes : public ParamBoxes {
public:
    MemoryParamBoxes() { texts.fill(QStringLiteral("-")); }

    QString text(int index) const override { return texts[index]; }
    void setText(int index, const QString& text) override {
        if (texts[index] != text)
            states[index] = BoxState::Changed;
        texts[index] = text;
    }
    void setState(int index, BoxState state) override { states[index] = state; }
    std::optional<BoxState> state(int index) const override { return states[index]; }

    std::array<QString, kParamCount> texts;
    // Empty until something sets a colour (the platform's default background).
    std::array<std::optional<BoxState>, kParamCount> states;
};

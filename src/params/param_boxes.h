#pragma once

#include "params/box_state.h"

#include <QString>
#include <optional>

// The 506 parameter boxes as the core sees them. The parameter window implements it with its
// text boxes; tests use an in-memory double. Setting a text behaves like the user's typing: it
// turns the box white (Changed), so writers set the text first and the state second.
class ParamBoxes {
public:
    virtual ~ParamBoxes() = default;
    virtual QString text(int index) const = 0;
    virtual void setText(int index, const QString& text) = 0;
    virtual void setState(int index, BoxState state) = 0;
    // Empty until something set one: the box then shows its initial "-", never read.
    virtual std::optional<BoxState> state(int index) const = 0;
};

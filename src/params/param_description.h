#pragma once

#include <QString>

// What a screen reader says about parameter box `index` (0..505): the caption beside it, or the
// group, row and column it sits in, e.g. "SNX3, канал 1, Тип", "М2, вход 4", "Реле ГРЩ, реле 3".
// Boxes of a multiplier row add their position ("..., 2"); the hidden boxes say so.
QString ParamDescription(int index);

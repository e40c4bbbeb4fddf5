#pragma once

#include "params/param_catalogue.h"

#include <QString>
#include <cstdint>
#include <random>

struct PickedValue {
    std::int32_t value = 0; // the stored integer
    QString text;           // as a user would type it
};

// A random value that parameter `index` may hold, written the ways users write numbers: either
// decimal separator, with or without the blank the boxes show after a number, now and then a
// leading blank.
PickedValue PickValue(const ParamCatalogue& catalogue, int index, std::mt19937& random);

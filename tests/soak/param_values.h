#pragma once

#include "params/param_catalogue.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

// A parameter's stored integer as the controller's memory image holds it (its bytes at its
// address, most significant first, two's complement when its scale is negative); nothing when
// the image is too short.
std::optional<std::int32_t> StoredValue(const QByteArray& image, const ParamCatalogue& catalogue,
                                        int index);

// The stored integer a box text stands for, converted with the range of the parameter's size
// and sign, as a write would send it.
std::int32_t BoxValue(const QString& text, const ParamCatalogue& catalogue, int index);

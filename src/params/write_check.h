#pragma once

#include "params/controller_image.h"
#include "params/param_boxes.h"
#include "params/param_catalogue.h"

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

// The read-back check of a write-all: what each parameter should hold once the controller has
// stored the boxes' values, and which ones it holds otherwise.
using StoredValues = std::array<std::int32_t, kParamCount>;

// The values a write-all of these boxes sends, as the controller stores them: cut to the
// parameter's bytes and read back with its sign, so a value out of range compares as stored.
StoredValues ExpectedAfterWriteAll(const ParamCatalogue& catalogue, const ParamBoxes& boxes);
// Parameters whose value in the image differs from the expected one, or is missing.
QList<int> NotStoredAsWritten(const StoredValues& expected, const ControllerImage& image);
// The verdict's headline: "Проверка записи: все 506 параметров записаны верно", or
// "Проверка записи: не совпали 3 параметра".
QString WriteCheckText(const QList<int>& notStored);
// What a user needs to put each differing parameter right, one line each for the first ten:
// "5 «Максимальные обороты (об/мин)»: записано 2500, сохранено 2000"; then "и ещё 12
// параметров".
QStringList WriteCheckDetails(const QList<int>& notStored, const StoredValues& expected,
                              const ControllerImage& image, const ParamCatalogue& catalogue,
                              QChar decimalSeparator);
// The value written to parameter `index`, as its box would show it stored.
QString WrittenText(int index, const StoredValues& expected, const ParamCatalogue& catalogue,
                    QChar decimalSeparator);

// Boxes a write-all would not send as they read: a text that is no plain number (it would go
// out as 0) or a number the parameter cannot hold (it would go out limited; the own address
// to the line's addresses). A file written by «Сохранить в файл» has none.
QList<int> NotWritableAsGiven(const ParamCatalogue& catalogue, const ParamBoxes& boxes);
// "5, 17, 23", at most the first 20 numbers, then "…".
QString ParamNumberList(const QList<int>& params);

#pragma once

#include "link/rx_buffer.h"
#include "params/param_boxes.h"
#include "params/param_catalogue.h"

#include <QChar>
#include <QList>
#include <QString>
#include <cstdint>

struct ParamValueText {
    int index;
    QString text;
    std::int32_t stored; // the integer the controller holds
};

// The parameters an answer of function 100 or 101 covers, with the texts their boxes show:
// the stored value times the magnitude of the scale, 3 decimals. An unknown start address gives
// nothing. Decoding stops at the last catalogue entry and at the end of the receive buffer, so a
// malformed answer never reaches outside either.
QList<ParamValueText> DecodeParamAnswer(const RxBuffer& rx, const ParamCatalogue& catalogue,
                                        QChar decimalSeparator);
// The text a box shows for a value the controller holds, as decoded above (a blank after it).
QString StoredValueText(std::int32_t value, double scale, QChar decimalSeparator);

// Writes decoded values into the boxes, text first, then the "from EEPROM" colour (setting
// the text turns a box white, so the colour must come second).
void ShowParamValues(const QList<ParamValueText>& values, ParamBoxes& boxes);
// The same for an answer not yet decoded.
void ShowParamAnswer(const RxBuffer& rx, const ParamCatalogue& catalogue, ParamBoxes& boxes,
                     QChar decimalSeparator);

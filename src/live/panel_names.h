#pragma once

#include "live/poll_decoder.h"

#include <QString>

// The names the main window gives its state LEDs and fault words; the journal names them alike.
QString LedCaption(int led);
// Fault word i sits in column i / 3 and row i % 3 of the frame «Аварии и неисправности».
QString FaultColumnName(int fault);
QString FaultRowName(int fault);

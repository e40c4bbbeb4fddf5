#pragma once

#include "live/poll_decoder.h"

#include <QString>

// The panel's facts, as the main window's header and the report's heading name them.
namespace panel_text {
inline const QString kObjectType = QStringLiteral("Тип объекта");
inline const QString kProtocolVersion = QStringLiteral("Версия протокола");
inline const QString kSoftwareVersion = QStringLiteral("Версия ПО");
inline const QString kRunningHours = QStringLiteral("Общая наработка");
} // namespace panel_text

// The names the main window gives its state LEDs and fault words; the journal names them alike.
QString LedCaption(int led);
// Fault word i sits in column i / 3 and row i % 3 of the frame «Аварии и неисправности».
QString FaultColumnName(int fault);
QString FaultRowName(int fault);

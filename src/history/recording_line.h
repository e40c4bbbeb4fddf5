#pragma once

#include "live/engine_quantities.h"

#include <QChar>
#include <QString>
#include <cstdint>

// The recording file: one line per poll answer, the ten values as the main window shows them.
QString RecordingHeader();
// The shaft column stays empty while the window shows no shaft speed (a ДГУ).
QString RecordingLine(std::int64_t wallMs, const QuantityValues& values, bool shaftShown,
                      QChar decimalSeparator);

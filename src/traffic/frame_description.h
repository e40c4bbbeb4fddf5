#pragma once

#include "params/param_catalogue.h"

#include <QByteArray>
#include <QChar>
#include <QString>

// A frame of the line in the controller's own terms, in Russian: the poll, the transaction
// write, each command by name, parameter reads and writes by parameter number (with the values
// as the boxes show them), the answers likewise, exceptions with their code; anything else as
// «Неизвестная функция F». `frame` holds the slave address first; a CRC at its end is ignored.
QString DescribeFrame(const QByteArray& frame, bool sent, const ParamCatalogue& catalogue,
                      QChar decimalSeparator);

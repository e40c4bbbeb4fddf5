#pragma once

#include "history/journal_entry.h"

#include <QString>

// The words of the journal lines whose kind is told by how they begin.
namespace journal_text {
inline const QString kLinkUp = QStringLiteral("Связь установлена");
inline const QString kLinkLost = QStringLiteral("Связь потеряна");
inline const QString kPort = QStringLiteral("Порт ");
inline const QString kCommand = QStringLiteral("Команда ");
inline const QString kModbusBlocked = QStringLiteral("Управление по Modbus заблокировано");
inline const QString kModbusUnblocked = QStringLiteral("Управление по Modbus разблокировано");
// The user's switch of the fast exchange.
inline const QString kFastExchangeOn = QStringLiteral("Быстрый обмен включён");
inline const QString kFastExchangeOff = QStringLiteral("Быстрый обмен выключен");
} // namespace journal_text

// The kind of a journal line told from its text alone, for a journal file read back (the file
// holds the time and the text, not the kind): the words the tool writes for each kind, and a
// parameter operation for anything else.
JournalKind KindOfJournalText(const QString& text);

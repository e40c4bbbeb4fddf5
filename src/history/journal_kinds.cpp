#include "history/journal_kinds.h"

#include "live/panel_names.h"

#include <QRegularExpression>

namespace {
bool isLink(const QString& text) {
    return text == journal_text::kLinkUp || text == journal_text::kLinkLost ||
           text == journal_text::kFastExchangeOn || text == journal_text::kFastExchangeOff ||
           text.startsWith(journal_text::kPort) ||
           text.startsWith(QStringLiteral("Поиск контроллеров")) ||
           text.startsWith(QStringLiteral("Найден контроллер:"));
}

bool isPanel(const QString& text) {
    return text.startsWith(panel_text::kObjectType + QStringLiteral(": ")) ||
           text == journal_text::kModbusBlocked || text == journal_text::kModbusUnblocked;
}

bool isFault(const QString& text) {
    for (int i = 0; i < kFaultCount; ++i)
        if (text.startsWith(QStringLiteral("«%1» «%2»: ").arg(FaultColumnName(i), FaultRowName(i))))
            return true;
    return false;
}

bool isIndicator(const QString& text) {
    for (int i = 0; i < kLedCount; ++i)
        if (text.startsWith(QStringLiteral("«%1»: ").arg(LedCaption(i))))
            return true;
    return false;
}
} // namespace

JournalKind KindOfJournalText(const QString& text) {
    static const QRegularExpression signal(QStringLiteral("^Сигнал \\d+: (вкл|выкл)$"));
    if (isLink(text))
        return JournalKind::Link;
    if (text.startsWith(journal_text::kCommand))
        return JournalKind::Command;
    if (isPanel(text))
        return JournalKind::Panel;
    if (signal.match(text).hasMatch())
        return JournalKind::Signal;
    if (isFault(text))
        return JournalKind::Fault;
    if (isIndicator(text))
        return JournalKind::Indicator;
    return JournalKind::Parameter;
}

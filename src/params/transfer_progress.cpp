#include "params/transfer_progress.h"

#include "link/exchange_cycle.h"
#include "text/russian_count.h"

#include <algorithm>

void TransferProgress::begin(TransferStep newStep, const ExchangeCycle& cycle, int frames) {
    step = newStep;
    first = cycle.answered() + cycle.waiting() - frames;
    total = frames;
}

std::optional<TransferState> TransferProgress::now(const ExchangeCycle& cycle) const {
    const long long done = std::max(0LL, cycle.answered() - first);
    if (done >= total)
        return std::nullopt;
    return TransferState{step, static_cast<int>(done), total};
}

QString TransferName(TransferStep step) {
    switch (step) {
    case TransferStep::Reading:
        return QStringLiteral("Чтение всех параметров");
    case TransferStep::Writing:
        return QStringLiteral("Запись всех параметров");
    case TransferStep::Checking:
        break;
    }
    return QStringLiteral("Проверка записи");
}

QString TransferText(const TransferState& state) {
    return QStringLiteral("%1: %2 из %3")
        .arg(TransferName(state.step), QString::number(state.done),
             CountOf(state.total, nouns::kOfRequest));
}

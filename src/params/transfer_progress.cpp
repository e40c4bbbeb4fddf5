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

QString TransferText(const TransferState& state) {
    QString doing;
    switch (state.step) {
    case TransferStep::Reading:
        doing = QStringLiteral("Чтение всех параметров");
        break;
    case TransferStep::Writing:
        doing = QStringLiteral("Запись всех параметров");
        break;
    case TransferStep::Checking:
        doing = QStringLiteral("Проверка записи");
        break;
    }
    return QStringLiteral("%1: %2 из %3")
        .arg(doing, QString::number(state.done), CountOf(state.total, nouns::kOfRequest));
}

#pragma once

#include <QString>
#include <optional>

class ExchangeCycle;

// What a transfer of parameters is doing, as the window and the batch mode say it.
enum class TransferStep { Reading, Writing, Checking };

// How far it is: `done` of `total` frames answered.
struct TransferState {
    TransferStep step = TransferStep::Reading;
    int done = 0;
    int total = 0;
};

// Follows the last transfer queued by the exchange's count of answers. Frames are answered in
// the order queued, so the transfer's first frame is answered once the frames ahead of it are
// (a poll in flight, the rest of an earlier transfer), and it is through once its own are too.
class TransferProgress {
public:
    // Called right after the transfer's `frames` were queued.
    void begin(TransferStep step, const ExchangeCycle& cycle, int frames);
    // Nothing more to show of the transfer, though its frames may still go out.
    void stop() { total = 0; }
    // Empty when no transfer is under way: none began, it is through, or it was stopped.
    std::optional<TransferState> now(const ExchangeCycle& cycle) const;

private:
    TransferStep step = TransferStep::Reading;
    long long first = 0; // the count of answers when the transfer's own begin
    int total = 0;
};

// "Чтение всех параметров", "Запись всех параметров", "Проверка записи": also the journal's and
// the check's message box's name of the step.
QString TransferName(TransferStep step);
// "Чтение всех параметров: 12 из 59 запросов", "Запись всех параметров: 3 из 61 запроса",
// "Проверка записи: …".
QString TransferText(const TransferState& state);

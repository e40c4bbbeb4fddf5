#pragma once

#include "host/message_box.h"
#include "link/exchange_cycle.h"
#include "params/param_boxes.h"
#include "params/param_catalogue.h"

#include <QString>
#include <functional>

// The parameter transfers the user starts: all of it or nothing. A refused transfer changes no
// box and no colour, and the user is told in a message box, because the status line is rewritten
// by the next tick before anyone can read it.
namespace transfer_text {
inline const QString kQueueFullAdvice = QStringLiteral(
    "Ничего не отправлено в контроллер.\r\nПовторите, когда очередь запросов освободится.");
inline const QString kUnreadTitle = QStringLiteral("Запись не начата");
QString UnreadBoxes(int count);
} // namespace transfer_text

struct ParamTransfers {
    ExchangeCycle& cycle;
    // Takes the answers of every request queued here.
    AnswerConsumer& answers;
    const ParamCatalogue& catalogue;
    ParamBoxes& boxes;
    MessageBoxService& messages;

    // Boxes that still show "-": never read from the controller nor loaded from a file.
    int boxesWithoutValue() const;

    // Each returns true when its frames were queued.
    // The read of all parameters; the button also turns every box white, the menu does not.
    bool readAll(bool whiten) const;
    // Refused while any box has no value: a "-" would be written as 0 (a maximum speed of 0,
    // a pressure limit of 0), which can damage an engine.
    // `beforeQueue` runs once the write is known to fit the ring, before anything is queued;
    // false from it cancels the write (the backup could not be made).
    bool writeAll(const std::function<bool()>& beforeQueue = {}) const;
    // Enter in box `index`; a box that still shows "-" sends nothing.
    bool writeOne(int index) const;

private:
    void whitenAll() const;
    bool tellQueueFull() const;
};

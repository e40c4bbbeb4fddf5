#include "params/param_transfers.h"

#include "params/bulk_transfer.h"
#include "params/param_editing.h"

namespace {
const QString kNoValue = QStringLiteral("-");
}

QString transfer_text::UnreadBoxes(int count) {
    return QStringLiteral("Параметров без значения («-»): %1.\r\n"
                          "Прочитайте их из контроллера или из файла и повторите запись.")
        .arg(count);
}

int ParamTransfers::boxesWithoutValue() const {
    int count = 0;
    for (int i = 0; i < kParamCount; ++i)
        count += boxes.text(i).trimmed() == kNoValue;
    return count;
}

void ParamTransfers::readAll(bool whiten) const {
    if (cycle.request_queue.freeRoom() < static_cast<int>(ReadBlocks(catalogue).size()))
        return tellQueueFull();
    if (whiten)
        whitenAll();
    ReadAllParameters(cycle.request_queue, catalogue);
}

void ParamTransfers::writeAll() const {
    if (const int unread = boxesWithoutValue()) {
        messages.ask(MessageIcon::Warning, transfer_text::kUnreadTitle,
                     transfer_text::UnreadBoxes(unread), MessageButtons::Ok);
        return;
    }
    if (cycle.request_queue.freeRoom() < WriteAllFrameCount(catalogue))
        return tellQueueFull();
    whitenAll();
    WriteAllParameters(cycle, catalogue, boxes);
}

void ParamTransfers::writeOne(int index) const {
    if (boxes.text(index).trimmed() == kNoValue)
        return;
    if (!WriteSingleParameter(index, boxes, catalogue, cycle))
        tellQueueFull();
}

void ParamTransfers::whitenAll() const {
    for (int i = 0; i < kParamCount; ++i)
        boxes.setState(i, BoxState::Changed);
}

void ParamTransfers::tellQueueFull() const {
    messages.ask(MessageIcon::Warning, transfer_text::kQueueFullTitle, transfer_text::kQueueFull,
                 MessageButtons::Ok);
}

#include "params/param_transfers.h"

#include "params/param_requests.h"

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

bool ParamTransfers::readAll(bool whiten) const {
    if (!cycle.queueAll(AnsweredBy(ReadAllRequests(catalogue), answers)))
        return tellQueueFull();
    if (whiten)
        whitenAll();
    return true;
}

bool ParamTransfers::writeAll(const std::function<bool()>& beforeQueue) const {
    if (const int unread = boxesWithoutValue()) {
        messages.ask(MessageIcon::Warning, transfer_text::kUnreadTitle,
                     transfer_text::UnreadBoxes(unread), MessageButtons::Ok);
        return false;
    }
    const RequestBatch batch = AnsweredBy(WriteAllRequests(catalogue, boxes), answers);
    if (cycle.freeRoom() < static_cast<int>(batch.size()))
        return tellQueueFull();
    if (beforeQueue && !beforeQueue())
        return false;
    if (!cycle.queueAll(batch))
        return tellQueueFull();
    whitenAll();
    return true;
}

bool ParamTransfers::writeOne(int index) const {
    if (boxes.text(index).trimmed() == kNoValue)
        return false;
    const Request request = AnsweredBy(WriteOneRequest(index, catalogue, boxes), answers);
    if (!cycle.queue(request))
        return tellQueueFull();
    boxes.setState(index, BoxState::Changed);
    // The box shows the address that was sent, limited to what the line can use.
    if (request.new_address >= 0)
        boxes.setText(index, QString::number(request.new_address));
    return true;
}

void ParamTransfers::whitenAll() const {
    for (int i = 0; i < kParamCount; ++i)
        boxes.setState(i, BoxState::Changed);
}

bool ParamTransfers::tellQueueFull() const {
    messages.ask(MessageIcon::Warning, link_text::kQueueFull, transfer_text::kQueueFullAdvice,
                 MessageButtons::Ok);
    return false;
}

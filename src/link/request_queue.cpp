#include "link/request_queue.h"

#include <algorithm>

bool RequestQueue::append(const Request& request) {
    const int count = static_cast<int>(request.pdu.size());
    if (freeRoom() == 0 || count < 1 || count > kSlotBytes - 1)
        return false;
    auto& slot = queue_frames[queue_write];
    slot[0] = 0;
    std::copy_n(request.pdu.begin(), count, slot.begin() + 1);
    queue_last[queue_write] = count;
    // The frame lives in the slot; beside it, whom it goes to and who takes its answer.
    queue_requests[queue_write] = {.pdu = {},
                                   .new_address = request.new_address,
                                   .consumer = request.consumer,
                                   .slave = request.slave,
                                   .strict = request.strict,
                                   .once = request.once};
    QueueAdvanceWrite();
    return true;
}

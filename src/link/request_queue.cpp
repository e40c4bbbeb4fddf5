#include "link/request_queue.h"

#include <algorithm>

bool RequestQueue::append(const std::vector<std::uint8_t>& fromFunctionCode) {
    const int count = static_cast<int>(fromFunctionCode.size());
    if (freeRoom() == 0 || count < 1 || count > kSlotBytes - 1)
        return false;
    auto& slot = queue_frames[queue_write];
    slot[0] = 0;
    std::copy_n(fromFunctionCode.begin(), count, slot.begin() + 1);
    queue_last[queue_write] = count;
    QueueAdvanceWrite();
    return true;
}

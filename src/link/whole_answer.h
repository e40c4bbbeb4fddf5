#pragma once

#include "link/rx_buffer.h"

// Whether `answer` is, whole and intact, the answer of `slave` to the request whose frame from
// its function code on is `request` (`length` bytes): exactly as long as its function says, with
// a good CRC, from that slave, about that function or with its exception, and echoing what the
// request asked for (the register and value of 6, the registers of 16, the quantity of 4, the
// address and byte count of 100 and 101). Only such an answer is taken before the tick; anything
// else waits for the tick, which judges it as it always has.
bool IsWholeAnswer(const RxBuffer& answer, int slave, const std::uint8_t* request, int length);

#pragma once

#include "link/rx_buffer.h"

#include <QString>
#include <cstdint>
#include <vector>

// The slave address of a request that goes wherever the main window points when it is sent.
constexpr int kChosenSlave = -1;

// One request as the ring keeps it: the frame from its function code on, whom it goes to and
// who takes its answer. The slave address is put in front and the CRC behind when it is sent.
struct Request {
    std::vector<std::uint8_t> pdu;
    // The write of the controller's own slave address: when this frame leaves, the frames after
    // it go to this address. -1 for every other request.
    int new_address = -1;
    // Who decodes the answer; none for the writes whose echo says nothing new.
    AnswerConsumer* consumer = nullptr;
    // 0..127, or kChosenSlave.
    int slave = kChosenSlave;
    // How an answer is known. By default any frame with a good CRC answers the request in flight,
    // as the controller's protocol has it. A strict request is answered only by its own slave
    // with its own function (or that function's exception): any other good frame is taken for
    // silence, completes nothing, reaches no decoder, and the request is sent again.
    bool strict = false;
    // Sent once, as a bus scan asks each address: the tick after it goes out decides, and
    // whatever that tick finds other than its answer (silence, a bad CRC, another slave's frame,
    // an exception) ends it unanswered, and its consumer hears so (`AnswerConsumer::missed`).
    bool once = false;
};

// A transfer that the ring takes whole or not at all.
using RequestBatch = std::vector<Request>;

// The request, or every request of the batch, with its answer going to `consumer`.
Request AnsweredBy(Request request, AnswerConsumer& consumer);
RequestBatch AnsweredBy(RequestBatch batch, AnswerConsumer& consumer);

// The four operating commands, in the order of their buttons.
enum class Command { Start, Stop, Acknowledge, ProtectionsOff };

// The controller's code of a command (function 6, register 402).
std::uint16_t CommandCode(Command command);
// The command as its button names it: "СТАРТ", "СТОП", "КВИТ", "ОТКЛ. ЗАЩ".
QString CommandCaption(Command command);

// Byte k (0 = least significant) of a signed 32-bit value; 0 for k outside 0..3.
std::uint8_t ValueByte(std::int32_t value, int k);

// Function 4: input registers 300..424, the live picture of the engine.
Request PollRequest();
// Function 16 to registers 400..401: transaction counter and protections-off flag.
Request TransactionRequest(int counter, bool protectionsOff);
// Function 6 to register 402.
Request CommandRequest(Command command);
// Function 100: read `count` parameter bytes (at most 20) from a byte address.
Request ParamReadRequest(std::int32_t address, std::uint8_t count);
// Function 101: write the `count` (at most 4) low bytes of value, most significant first.
Request ParamWriteRequest(std::int32_t address, std::int32_t value, std::uint8_t count);
// Function 101 with bytes already laid out (a block of several parameters).
Request ParamBytesWriteRequest(std::int32_t address, const std::vector<std::uint8_t>& bytes);
// The write of the controller's own slave address, which switches the link to it.
Request OwnAddressWriteRequest(std::int32_t address, std::int32_t newAddress, std::uint8_t count);

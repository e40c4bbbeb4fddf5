#include "link/requests.h"

#include <algorithm>
#include <array>

std::uint8_t ValueByte(std::int32_t value, int k) {
    if (k < 0 || k > 3)
        return 0;
    return static_cast<std::uint8_t>((static_cast<std::uint32_t>(value) >> (8 * k)) & 0xFF);
}

namespace {
std::uint8_t high(std::int32_t v) {
    return ValueByte(v, 1);
}
std::uint8_t low(std::int32_t v) {
    return ValueByte(v, 0);
}

// The controller's codes of СТАРТ, СТОП, КВИТ and ОТКЛ. ЗАЩ.
constexpr std::array<std::uint16_t, 4> kCommandCodes{0x1238, 0x4569, 0x789A, 0xABC4};
} // namespace

Request AnsweredBy(Request request, AnswerConsumer& consumer) {
    request.consumer = &consumer;
    return request;
}

RequestBatch AnsweredBy(RequestBatch batch, AnswerConsumer& consumer) {
    for (Request& request : batch)
        request.consumer = &consumer;
    return batch;
}

Request PollRequest() {
    return {{0x04, 0x01, 0x2C, 0x00, 0x7D}};
}

Request TransactionRequest(int counter, bool protectionsOff) {
    return {{0x10, 0x01, 0x90, 0x00, 0x02, 0x04, high(counter), low(counter), 0x00,
             static_cast<std::uint8_t>(protectionsOff ? 1 : 0)}};
}

std::uint16_t CommandCode(Command command) {
    return kCommandCodes.at(static_cast<std::size_t>(command));
}

QString CommandCaption(Command command) {
    static const std::array<QString, 4> captions{QStringLiteral("СТАРТ"), QStringLiteral("СТОП"),
                                                 QStringLiteral("КВИТ"),
                                                 QStringLiteral("ОТКЛ. ЗАЩ")};
    return captions.at(static_cast<std::size_t>(command));
}

Request CommandRequest(Command command) {
    const std::uint16_t code = CommandCode(command);
    return {{0x06, 0x01, 0x92, high(code), low(code)}};
}

Request ParamReadRequest(std::int32_t address, std::uint8_t count) {
    return {{0x64, high(address), low(address), std::min<std::uint8_t>(count, 20)}};
}

Request ParamWriteRequest(std::int32_t address, std::int32_t value, std::uint8_t count) {
    count = std::min<std::uint8_t>(count, 4);
    std::vector<std::uint8_t> bytes;
    for (int k = 0; k < count; ++k)
        bytes.push_back(ValueByte(value, count - 1 - k));
    return ParamBytesWriteRequest(address, bytes);
}

Request ParamBytesWriteRequest(std::int32_t address, const std::vector<std::uint8_t>& bytes) {
    Request request;
    request.pdu.reserve(4 + bytes.size());
    request.pdu.assign(
        {0x65, high(address), low(address), static_cast<std::uint8_t>(bytes.size())});
    request.pdu.insert(request.pdu.end(), bytes.begin(), bytes.end());
    return request;
}

Request OwnAddressWriteRequest(std::int32_t address, std::int32_t newAddress, std::uint8_t count) {
    Request request = ParamWriteRequest(address, newAddress, count);
    request.new_address = newAddress;
    return request;
}

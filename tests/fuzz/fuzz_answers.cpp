// The receive path alone, at volume: one request of any kind in flight, then what the line
// brings, tick by tick, through the exchange to the decoder of the request it answers. The input:
// the request (kind, operands, slave, answer rule, decimal separator), then chunks of line bytes
// (raw, with a good CRC, the controller's answer to the frame in flight, or its refusal), each
// followed by a tick. fuzz_receive_path scripts whole sessions; this one keeps each input short,
// so the decoders meet tens of thousands of answers a second.

#include "controller_answers.h"
#include "frames.h"
#include "fuzz_support.h"
#include "params/param_requests.h"
#include "receive_path.h"

#include <optional>

namespace {

struct Rig : ReceivePath {
    explicit Rig(QChar separator) : ReceivePath(separator) {}

    Request requestOf(FuzzInput& in) {
        const int kind = in.next() % 6;
        const int address = in.next<std::uint16_t>();
        const std::uint8_t count = in.next();
        switch (kind) {
        case 0:
            return AnsweredBy(PollRequest(), poll);
        case 1:
            return AnsweredBy(ParamReadRequest(address, count), answers);
        case 2:
            return AnsweredBy(ParamWriteRequest(address, in.next<std::int32_t>(), count), answers);
        case 3:
            return AnsweredBy(OwnAddressWriteRequest(address, count & 0x7F, in.next()), answers);
        case 4:
            return CommandRequest(static_cast<Command>(count % 4));
        default:
            return TransactionRequest(address, count & 1);
        }
    }

    void tick() {
        const long long answeredBefore = cycle.answered();
        port.written.clear();
        cycle.ExchangeTick();
        const QString& status = host.status;
        FUZZ_CHECK(status == link_text::kNoAnswer || status == link_text::kCrcMismatch ||
                       status.startsWith(link_text::kAnswerOk),
                   status.toUtf8());
        // One frame out on every tick, whole and with its CRC; at most one request completed.
        FUZZ_CHECK(cycle.answered() - answeredBefore <= 1 && port.written.size() == 1);
        in_flight = port.written.front();
        FUZZ_CHECK(in_flight.size() >= 4 && in_flight == WithCrc(in_flight.chopped(2)),
                   HexText(in_flight).toLatin1());
    }

    QByteArray in_flight;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    // In the same memory for every input, and gone before the input ends (see fuzz_receive_path).
    static std::optional<Rig> fresh;
    const std::uint8_t flags = in.next();
    Rig& rig = fresh.emplace(flags & 1 ? QLatin1Char(',') : QLatin1Char('.'));
    rig.host.address = in.next() & 0x7F;
    Request request = rig.requestOf(in);
    request.strict = flags & 2;
    request.once = flags & 8;
    if (flags & 4)
        request.slave = in.next() & 0x7F;
    FUZZ_CHECK(rig.cycle.queue(request));
    rig.tick();
    while (!in.atEnd()) {
        const std::uint8_t chunk = in.next();
        const std::uint8_t operand = in.next();
        switch (chunk % 4) {
        case 0:
            rig.port.feed(in.bytes(operand));
            break;
        case 1:
            rig.port.feed(WithCrc(in.bytes(operand)));
            break;
        case 2:
            rig.port.feed(WithCrc(AnswerTo(rig.in_flight, operand)));
            break;
        default:
            rig.port.feed(WithCrc(RefusalOf(rig.in_flight, char(operand))));
        }
        rig.tick();
    }
    fresh.reset();
    return 0;
}

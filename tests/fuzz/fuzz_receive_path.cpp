// The receive path as the running tool drives it; the input: decimal separator, then kSteps.

#include "controller_answers.h"
#include "frames.h"
#include "fuzz_support.h"
#include "params/param_requests.h"
#include "receive_path.h"

#include <algorithm>
#include <optional>

namespace {

// What the status line may say: nothing yet, one of the exchange's words, or a refusal's code.
bool KnownStatus(const QString& status) {
    static const QString kRefused =
        link_text::kAnswerOk + QStringLiteral(" Нарушение протокола, код: ");
    if (status.startsWith(kRefused)) {
        const QStringView code = QStringView(status).sliced(kRefused.size());
        return !code.isEmpty() && code.size() <= 3 &&
               std::all_of(code.begin(), code.end(), [](QChar c) { return c.isDigit(); });
    }
    return status.isEmpty() || status == link_text::kNoAnswer ||
           status == link_text::kCrcMismatch || status == link_text::kNoPort ||
           status == link_text::kAnswerOk;
}

struct Rig : ReceivePath {
    explicit Rig(QChar separator) : ReceivePath(separator) {}

    // The transfers as the tool builds them. A write-all depends only on the box texts, which
    // every input starts with empty, so it is built once for the whole run, and in an input only
    // again once a text was set since: rebuilding 506 boxes' worth of requests on each step cost
    // most of the run.
    RequestBatch readAll() {
        static const RequestBatch kReadAll = ReadAllRequests(Catalogue());
        return AnsweredBy(kReadAll, answers);
    }
    RequestBatch writeAll() {
        static const RequestBatch kFromEmptyBoxes =
            WriteAllRequests(Catalogue(), MemoryParamBoxes{});
        if (boxes.texts_set == 0)
            return AnsweredBy(kFromEmptyBoxes, answers);
        if (write_all_texts != boxes.texts_set) {
            write_all = WriteAllRequests(catalogue, boxes);
            write_all_texts = boxes.texts_set;
        }
        return AnsweredBy(write_all, answers);
    }

    // A producer either appends all its frames or, when they do not fit, none of them.
    void appended(int frames, bool accepted) {
        FUZZ_CHECK(accepted == (waiting + frames <= RequestQueue::kCapacity) &&
                   cycle.waiting() == waiting + (accepted ? frames : 0));
        waiting = cycle.waiting();
    }

    void tick() {
        const long long answeredBefore = cycle.answered();
        const int waitingBefore = cycle.waiting();
        port.written.clear();
        cycle.ExchangeTick();
        FUZZ_CHECK(KnownStatus(host.status), host.status.toUtf8());
        // While the port dialog probes, a tick touches neither the line nor the ring.
        if (cycle.lineHeld())
            return FUZZ_CHECK(port.written.isEmpty() && cycle.answered() == answeredBefore &&
                              cycle.waiting() == waitingBefore);
        // Only the frame in flight is completed; it stays in the ring until answered, and what
        // leaves (nothing on a closed port) is a frame with its CRC, the same one again until
        // then (its address byte may have switched with an own-address write).
        const bool completed = cycle.answered() != answeredBefore;
        FUZZ_CHECK(cycle.answered() - answeredBefore <= 1);
        FUZZ_CHECK(cycle.waiting() >= 1 && port.written.size() == (port.isOpen() ? 1 : 0));
        in_flight = port.written.value(0);
        if (completed)
            head.clear();
        if (in_flight.isEmpty())
            return;
        FUZZ_CHECK(in_flight.size() >= 4 && in_flight == WithCrc(in_flight.chopped(2)),
                   HexText(in_flight).toLatin1());
        const QByteArray frame = in_flight.mid(1).chopped(2);
        FUZZ_CHECK(head.isEmpty() || head == frame, HexText(in_flight).toLatin1());
        head = frame;
    }

    int waiting = 0; // frames in the ring before the step
    QByteArray in_flight;
    QByteArray head; // the frame in flight as last sent, without address and CRC
    RequestBatch write_all;
    long long write_all_texts = 0; // the count of texts set when it was built
};

// Their order, and the order of the operands each takes, is the corpus format.
using Step = void (*)(Rig&, FuzzInput&);
constexpr Step kSteps[] = {
    // Line bytes: raw, with a CRC, the answer to the frame in flight (pattern) or its refusal.
    [](Rig& r, FuzzInput& in) { r.port.feed(in.bytes(in.next())); },
    [](Rig& r, FuzzInput& in) { r.port.feed(WithCrc(in.bytes(in.next()))); },
    [](Rig& r, FuzzInput& in) { r.port.feed(WithCrc(AnswerTo(r.in_flight, in.next()))); },
    [](Rig& r, FuzzInput& in) {
        const char code = char(in.next());
        if (r.in_flight.size() >= 2)
            r.port.feed(WithCrc(RefusalOf(r.in_flight, code)));
    },
    [](Rig& r, FuzzInput&) { r.tick(); },
    [](Rig& r, FuzzInput& in) {
        const int address = in.next<std::uint16_t>();
        r.appended(1, r.cycle.queue(AnsweredBy(ParamReadRequest(address, in.next()), r.answers)));
    },
    [](Rig& r, FuzzInput& in) {
        const int address = in.next<std::uint16_t>();
        const std::int32_t value = in.next<std::int32_t>();
        const Request write = ParamWriteRequest(address, value, in.next());
        r.appended(1, r.cycle.queue(AnsweredBy(write, r.answers)));
    },
    [](Rig& r, FuzzInput& in) {
        const auto command = static_cast<Command>(in.next<std::uint16_t>() % 4);
        r.appended(1, r.cycle.queue(CommandRequest(command)));
    },
    [](Rig& r, FuzzInput&) { r.appended(1, r.cycle.queue(AnsweredBy(PollRequest(), r.poll))); },
    [](Rig& r, FuzzInput& in) {
        const int counter = in.next<std::uint16_t>();
        r.appended(1, r.cycle.queue(TransactionRequest(counter, in.next() & 1)));
    },
    [](Rig& r, FuzzInput&) { r.appended(59, r.cycle.queueAll(r.readAll())); },
    [](Rig& r, FuzzInput&) { r.appended(61, r.cycle.queueAll(r.writeAll())); },
    // Both callers limit the own address to the line's addresses.
    [](Rig& r, FuzzInput& in) {
        const int address = in.next() & 0x7F;
        const int at = r.catalogue.param_address[kOwnAddressParam];
        const Request write = OwnAddressWriteRequest(at, address, in.next());
        r.appended(1, r.cycle.queue(AnsweredBy(write, r.answers)));
    },
    [](Rig& r, FuzzInput& in) {
        for (int n = in.next(); n >= 0; --n)
            r.appended(1, r.cycle.queue(CommandRequest(Command::Start)));
    },
    // The user types into a box, toggles the port, picks a slave address, flips "Откл. защит";
    // the port dialog starts or stops probing.
    [](Rig& r, FuzzInput& in) {
        const int box = in.next<std::uint16_t>() % kParamCount;
        r.boxes.setText(box, QString::fromLatin1(in.bytes(in.next())));
    },
    [](Rig& r, FuzzInput&) { r.port.isOpen() ? r.port.close() : void(r.port.open()); },
    [](Rig& r, FuzzInput& in) { r.host.address = in.next() & 0x7F; },
    [](Rig& r, FuzzInput&) { r.host.arm_off = !r.host.arm_off; },
    [](Rig& r, FuzzInput&) { r.cycle.setLineHeld(!r.cycle.lineHeld()); },
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    // A fresh rig for each input, in the same memory: mapping the ring's 128 KB anew for every
    // input cost more than many a whole input.
    static std::optional<Rig> fresh;
    Rig& rig = fresh.emplace(in.next() & 1 ? QLatin1Char(',') : QLatin1Char('.'));
    while (!in.atEnd()) {
        const Step step = kSteps[in.next() % std::size(kSteps)];
        rig.waiting = rig.cycle.waiting();
        step(rig, in);
    }
    rig.tick(); // whatever the script left on the line is judged as well
    // Gone before the input ends: libFuzzer takes more allocations than releases in an input
    // for a leak and runs it again to look for one.
    fresh.reset();
    return 0;
}

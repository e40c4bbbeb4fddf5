// The receive path as the running tool drives it: line bytes arrive in arbitrary chunks, every
// tick drains them, judges them and sends the next frame, and good answers go through the real
// dispatch into the poll decoding and the parameter boxes. The input is a script: the first byte
// picks the user's decimal separator, then steps follow (see kSteps), and producers fill the
// ring between ticks the way the windows do.

#include "fake_serial_port.h"
#include "frames.h"
#include "fuzz_support.h"
#include "link/bulk_transfer.h"
#include "link/exchange_cycle.h"
#include "memory_param_boxes.h"
#include "monitor/answer_dispatch.h"
#include "monitor/param_answer_decoder.h"
#include "recording_host.h"

#include <iterator>

namespace {

// What a well-behaved controller sends back: data for the reads, the echo (or its first six
// bytes) for the writes. The data is a pattern grown from one input byte.
QByteArray AnswerTo(const QByteArray& request, std::uint8_t pattern) {
    QByteArray data(256, Qt::Uninitialized);
    for (int k = 0; k < data.size(); ++k)
        data[k] = char(pattern + 37 * k);
    if (request.size() < 4)
        return data.first(3);
    const QByteArray head = request.first(request.size() - 2);
    const auto function = std::uint8_t(request[1]);
    if (function == 0x04)
        return head.first(2) + char(250) + data.first(250);
    if (function == 0x64)
        return head + data.first(std::uint8_t(head.size() > 4 ? head[4] : 0));
    return function == 0x10 ? head.first(6) : head;
}

struct Rig {
    explicit Rig(QChar separator) : dispatch(host, separator) {
        port.open();
        catalogue.BuildParamCatalogue();
        dispatch.paramAnswer = [this, separator](const RxBuffer& rx) {
            ShowParamAnswer(rx, catalogue, boxes, separator);
        };
        dispatch.showPoll = [](const PollPicture& picture) {
            FUZZ_CHECK(picture.adc_board_d.size() == 4, picture.adc_board_d.toUtf8());
        };
    }

    // A producer either appends all its frames or, when they do not fit, none of them.
    void appended(int frames, bool accepted) {
        FUZZ_CHECK(accepted == (waiting + frames <= RequestQueue::kCapacity) &&
                   q.waiting() == waiting + (accepted ? frames : 0));
        waiting = q.waiting();
    }

    void tick() {
        const int readBefore = q.queue_read, writeBefore = q.queue_write;
        port.written.clear();
        cycle.ExchangeTick();
        FUZZ_CHECK(q.queue_read >= 0 && q.queue_read < RequestQueue::kSlots && q.queue_write >= 0 &&
                   q.queue_write < RequestQueue::kSlots && q.waiting() <= RequestQueue::kCapacity);
        FUZZ_CHECK(cycle.rx().rx_count >= 0 && cycle.rx().rx_count <= RxBuffer::kCells);
        // While the port dialog probes, a tick touches neither the line nor the ring.
        if (cycle.lineHeld())
            return FUZZ_CHECK(port.written.isEmpty() && q.queue_read == readBefore &&
                              q.queue_write == writeBefore);
        // One answer completes at most the frame in flight; the frame just sent stays in the
        // ring until it is answered; a closed port gets nothing.
        FUZZ_CHECK((q.queue_read - readBefore + RequestQueue::kSlots) % RequestQueue::kSlots <= 1);
        FUZZ_CHECK(!q.empty() && port.written.size() == (port.isOpen() ? 1 : 0));
        inFlight = port.written.value(0);
        const int last = q.queue_last[q.queue_read];
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(inFlight.constData());
        // What leaves is the frame of the slot, well formed, with its CRC.
        FUZZ_CHECK(
            inFlight.isEmpty() ||
                (last >= 1 && inFlight.size() == last + 3 &&
                 QByteArray("\x04\x06\x10\x64\x65").contains(inFlight[1]) &&
                 WithCrc(inFlight.first(last + 1)) == inFlight &&
                 std::equal(bytes + 1, bytes + last + 1, q.queue_frames[q.queue_read].begin() + 1)),
            HexText(inFlight).toLatin1());
    }

    FakeSerialPort port;
    ParamCatalogue catalogue;
    RecordingHost host;
    AnswerDispatch dispatch;
    MemoryParamBoxes boxes;
    ExchangeCycle cycle{port, host, dispatch};
    RequestQueue& q = cycle.request_queue;
    int waiting = 0; // frames in the ring before the step
    QByteArray inFlight;
};

// The steps by their number modulo the count; the order, and the order in which each step
// takes its operands from the input, is the corpus format.
using Step = void (*)(Rig&, FuzzInput&);
constexpr Step kSteps[] = {
    // Raw line bytes, and a frame with a correct CRC appended.
    [](Rig& r, FuzzInput& in) { r.port.feed(in.bytes(in.byte())); },
    [](Rig& r, FuzzInput& in) {
        const QByteArray bytes = in.bytes(in.byte());
        r.port.feed(bytes.isEmpty() ? bytes : WithCrc(bytes));
    },
    // The controller answers the frame in flight properly (data pattern), or refuses it (code).
    [](Rig& r, FuzzInput& in) { r.port.feed(WithCrc(AnswerTo(r.inFlight, in.byte()))); },
    [](Rig& r, FuzzInput& in) {
        const char code = char(in.byte());
        if (r.inFlight.size() >= 2)
            r.port.feed(WithCrc(r.inFlight.first(1) + char(r.inFlight[1] | 0x80) + code));
    },
    [](Rig& r, FuzzInput&) { r.tick(); },
    // Read (address, count), write (address, value, count), command (code), poll read,
    // transaction (counter, flag), read all and write all, as the windows queue them.
    [](Rig& r, FuzzInput& in) {
        const int address = in.u16();
        r.appended(1, QueueReadRequest(r.q, address, in.byte()));
    },
    [](Rig& r, FuzzInput& in) {
        const int address = in.u16();
        const std::int32_t value = in.s32();
        r.appended(1, QueueWriteRequest(r.q, address, value, in.byte()));
    },
    [](Rig& r, FuzzInput& in) { r.appended(1, QueueCommandWrite(r.q, in.u16())); },
    [](Rig& r, FuzzInput&) { r.appended(1, QueuePollRead(r.q)); },
    [](Rig& r, FuzzInput& in) {
        const int counter = in.u16();
        r.appended(1, QueueTransactionWrite(r.q, counter, in.byte() & 1));
    },
    [](Rig& r, FuzzInput&) { r.appended(59, ReadAllParameters(r.q, r.catalogue)); },
    [](Rig& r, FuzzInput&) { r.appended(61, WriteAllParameters(r.cycle, r.catalogue, r.boxes)); },
    // The own address written (new address, count); both callers limit it to the line's 0..127.
    [](Rig& r, FuzzInput& in) {
        const int address = in.byte() & 0x7F;
        r.appended(1, r.cycle.QueueAddressWrite(r.catalogue.param_address[23], address, in.byte()));
    },
    // n + 1 command writes, to reach a full ring.
    [](Rig& r, FuzzInput& in) {
        for (int n = in.byte(); n >= 0; --n)
            r.appended(1, QueueCommandWrite(r.q, 0x1238));
    },
    // The user types into a parameter box (index, text), the port is closed or opened again,
    // the user picks another slave address, the hidden "Откл. защит" box flips, the port dialog
    // starts or stops probing.
    [](Rig& r, FuzzInput& in) {
        const int box = in.u16() % kParamCount;
        r.boxes.setText(box, QString::fromLatin1(in.bytes(in.byte())));
    },
    [](Rig& r, FuzzInput&) { r.port.isOpen() ? r.port.close() : void(r.port.open()); },
    [](Rig& r, FuzzInput& in) { r.host.address = in.byte() & 0x7F; },
    [](Rig& r, FuzzInput&) { r.host.armOff = !r.host.armOff; },
    [](Rig& r, FuzzInput&) { r.cycle.setLineHeld(!r.cycle.lineHeld()); },
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    Rig rig(in.byte() & 1 ? QLatin1Char(',') : QLatin1Char('.'));
    while (!in.atEnd()) {
        const Step step = kSteps[in.byte() % std::size(kSteps)];
        rig.waiting = rig.q.waiting();
        step(rig, in);
    }
    rig.tick(); // whatever the script left on the line is judged as well
    return 0;
}

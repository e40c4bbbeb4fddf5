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
#include "link/frame_crc.h"
#include "memory_param_boxes.h"
#include "monitor/answer_dispatch.h"
#include "monitor/param_answer_decoder.h"
#include "recording_host.h"

#include <iterator>

namespace {

QByteArray N(long long n) {
    return QByteArray::number(n);
}

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
                       q.waiting() == waiting + (accepted ? frames : 0),
                   "waiting " + N(waiting) + " -> " + N(q.waiting()) + ", frames " + N(frames));
        waiting = q.waiting();
    }

    void tick() {
        const int readBefore = q.queue_read;
        const int writeBefore = q.queue_write;
        port.written.clear();
        cycle.ExchangeTick();

        FUZZ_CHECK(q.queue_read >= 0 && q.queue_read < RequestQueue::kSlots && q.queue_write >= 0 &&
                       q.queue_write < RequestQueue::kSlots &&
                       q.waiting() <= RequestQueue::kCapacity,
                   N(q.queue_read) + ", " + N(q.queue_write));
        FUZZ_CHECK(cycle.rx().rx_count >= 0 && cycle.rx().rx_count <= RxBuffer::kCells,
                   N(cycle.rx().rx_count));
        if (cycle.lineHeld()) {
            FUZZ_CHECK(port.written.isEmpty() && q.queue_read == readBefore &&
                           q.queue_write == writeBefore,
                       "a tick touched the line while the dialog held it");
            return;
        }
        // One answer completes at most the one frame that was in flight.
        FUZZ_CHECK((q.queue_read - readBefore + RequestQueue::kSlots) % RequestQueue::kSlots <= 1,
                   N(readBefore) + " -> " + N(q.queue_read));
        // The frame just sent stays in the ring until it is answered.
        FUZZ_CHECK(!q.empty(), "ring empty after a send");
        if (!port.isOpen()) {
            FUZZ_CHECK(port.written.isEmpty(), "written to a closed port");
            inFlight.clear();
            return;
        }
        FUZZ_CHECK(port.written.size() == 1, N(port.written.size()) + " writes in one tick");
        inFlight = port.written.first();
        const int last = q.queue_last[q.queue_read];
        const auto function = std::uint8_t(inFlight.size() > 1 ? inFlight[1] : 0);
        FUZZ_CHECK(inFlight.size() == last + 3 && last >= 1 &&
                       (function == 0x04 || function == 0x06 || function == 0x10 ||
                        function == 0x64 || function == 0x65),
                   "not a built frame: " + HexText(inFlight).toLatin1() + ", queue_last " +
                       N(last));
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(inFlight.constData());
        const std::uint16_t crc = FrameCrc(bytes, last);
        FUZZ_CHECK(bytes[last + 1] == (crc & 0xFF) && bytes[last + 2] == (crc >> 8),
                   "bad CRC: " + HexText(inFlight).toLatin1());
        const auto& slot = q.queue_frames[q.queue_read];
        FUZZ_CHECK(std::equal(bytes + 1, bytes + last + 1, slot.begin() + 1),
                   "frame differs from its slot: " + HexText(inFlight).toLatin1());
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

// A step's operands, read as its layout says: 1 a byte, 2 two bytes and 4 four bytes (both
// big-endian), n a count byte and that many bytes.
struct Ops {
    std::int64_t v[3] = {};
    QByteArray bytes;
    std::uint8_t u8(int i) const { return std::uint8_t(v[i]); }
};

struct Step {
    const char* layout;
    void (*run)(Rig&, const Ops&);
};

// The steps by their number modulo the count; the order is the corpus format.
constexpr Step kSteps[] = {
    // Raw line bytes, and a frame with a correct CRC appended.
    {"n", [](Rig& r, const Ops& o) { r.port.feed(o.bytes); }},
    {"n",
     [](Rig& r, const Ops& o) { r.port.feed(o.bytes.isEmpty() ? o.bytes : WithCrc(o.bytes)); }},
    // The controller answers the frame in flight properly (data pattern), or refuses it (code).
    {"1", [](Rig& r, const Ops& o) { r.port.feed(WithCrc(AnswerTo(r.inFlight, o.u8(0)))); }},
    {"1",
     [](Rig& r, const Ops& o) {
         if (r.inFlight.size() >= 2)
             r.port.feed(WithCrc(r.inFlight.first(1) + char(r.inFlight[1] | 0x80) + char(o.v[0])));
     }},
    {"", [](Rig& r, const Ops&) { r.tick(); }},
    // Read (address, count), write (address, value, count), command (code), poll read,
    // transaction (counter, flag), read all and write all, as the windows queue them.
    {"21", [](Rig& r, const Ops& o) { r.appended(1, QueueReadRequest(r.q, o.v[0], o.u8(1))); }},
    {"241",
     [](Rig& r, const Ops& o) { r.appended(1, QueueWriteRequest(r.q, o.v[0], o.v[1], o.u8(2))); }},
    {"2", [](Rig& r, const Ops& o) { r.appended(1, QueueCommandWrite(r.q, o.v[0])); }},
    {"", [](Rig& r, const Ops&) { r.appended(1, QueuePollRead(r.q)); }},
    {"21",
     [](Rig& r, const Ops& o) { r.appended(1, QueueTransactionWrite(r.q, o.v[0], o.v[1] & 1)); }},
    {"", [](Rig& r, const Ops&) { r.appended(59, ReadAllParameters(r.q, r.catalogue)); }},
    {"",
     [](Rig& r, const Ops&) { r.appended(61, WriteAllParameters(r.cycle, r.catalogue, r.boxes)); }},
    // The own address written (new address, count); both callers limit it to the line's 0..127.
    {"11",
     [](Rig& r, const Ops& o) {
         const int own = r.catalogue.param_address[23];
         r.appended(1, r.cycle.QueueAddressWrite(own, o.v[0] & 0x7F, o.u8(1)));
     }},
    // n + 1 command writes, to reach a full ring.
    {"1",
     [](Rig& r, const Ops& o) {
         for (int n = 0; n <= o.v[0]; ++n)
             r.appended(1, QueueCommandWrite(r.q, 0x1238));
     }},
    // The user types into a parameter box (index, text), the port is closed or opened again,
    // the user picks another slave address, the hidden "Откл. защит" box flips, the port dialog
    // starts or stops probing.
    {"2n",
     [](Rig& r, const Ops& o) {
         r.boxes.setText(o.v[0] % kParamCount, QString::fromLatin1(o.bytes));
     }},
    {"", [](Rig& r, const Ops&) { r.port.isOpen() ? r.port.close() : void(r.port.open()); }},
    {"1", [](Rig& r, const Ops& o) { r.host.address = o.v[0] & 0x7F; }},
    {"", [](Rig& r, const Ops&) { r.host.armOff = !r.host.armOff; }},
    {"", [](Rig& r, const Ops&) { r.cycle.setLineHeld(!r.cycle.lineHeld()); }},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    Rig rig(in.byte() & 1 ? QLatin1Char(',') : QLatin1Char('.'));
    while (!in.atEnd()) {
        const Step& step = kSteps[in.byte() % std::size(kSteps)];
        rig.waiting = rig.q.waiting();
        Ops o;
        int k = 0;
        for (const char* c = step.layout; *c; ++c)
            *c == 'n' ? void(o.bytes = in.bytes(in.byte()))
                      : void(o.v[k++] = *c == '1'   ? in.byte()
                                        : *c == '2' ? in.u16()
                                                    : in.s32());
        step.run(rig, o);
    }
    rig.tick(); // whatever the script left on the line is judged as well
    return 0;
}

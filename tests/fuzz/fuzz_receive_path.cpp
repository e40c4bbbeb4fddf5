// The receive path as the running tool drives it: line bytes arrive in arbitrary chunks, every
// tick drains them, judges them and sends the next frame, and good answers go through the real
// dispatch into the poll decoding and the parameter boxes. The input is a script of steps
// (see Step); producers fill the ring between ticks the way the windows do.

#include "fake_serial_port.h"
#include "frames.h"
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "link/bulk_transfer.h"
#include "link/exchange_cycle.h"
#include "link/frame_crc.h"
#include "memory_param_boxes.h"
#include "monitor/answer_dispatch.h"
#include "monitor/param_answer_decoder.h"
#include "recording_host.h"

#include <functional>

namespace {

enum class Step : std::uint8_t {
    Feed,         // n, n bytes: raw line bytes
    FeedFrame,    // n, n bytes: a frame with a correct CRC appended
    Answer,       // pattern: the controller answers the frame in flight properly
    Exception,    // code: the controller refuses the frame in flight
    Tick,         // one timer tick
    ReadRequest,  // address (2), count
    WriteRequest, // address (2), value (4), count
    Command,      // code (2)
    PollRead,     //
    Transaction,  // counter (2), flag
    ReadAll,      //
    WriteAll,     //
    AddressWrite, // new address, count
    Fill,         // n: n + 1 command writes, to reach a full ring
    BoxText,      // index (2), n, n bytes: the user types into a parameter box
    OpenClose,    // the port is closed or opened again
    SlaveAddress, // address: the user picks another entry in the address list
    ArmOff,       // the hidden "Откл. защит" box flips
    HoldLine,     // the port dialog starts or stops probing
    Count
};

constexpr int kReadAllFrames = 59;
constexpr int kWriteAllFrames = 61;
constexpr int kOwnAddressParam = 23;

const ParamCatalogue& Catalogue() {
    static const ParamCatalogue catalogue = [] {
        ParamCatalogue c;
        c.BuildParamCatalogue();
        return c;
    }();
    return catalogue;
}

QByteArray Number(long long n) {
    return QByteArray::number(n);
}

// The boxes of the parameter window; an index outside the catalogue would land in a
// neighbouring std::array element unnoticed, so it is refused here.
class CheckedBoxes : public MemoryParamBoxes {
public:
    QString text(int index) const override {
        check(index);
        return MemoryParamBoxes::text(index);
    }
    void setText(int index, const QString& text) override {
        check(index);
        MemoryParamBoxes::setText(index, text);
    }
    void setState(int index, BoxState state) override {
        check(index);
        MemoryParamBoxes::setState(index, state);
    }

private:
    static void check(int index) {
        FUZZ_CHECK(index >= 0 && index < kParamCount, "box index " + Number(index));
    }
};

bool KnownFunction(std::uint8_t function) {
    return function == 0x04 || function == 0x06 || function == 0x10 || function == 0x64 ||
           function == 0x65;
}

bool KnownStatus(const QString& status) {
    if (status == link_text::kNoAnswer || status == link_text::kCrcMismatch ||
        status == link_text::kAnswerOk)
        return true;
    const QString exception = link_text::kAnswerOk + QStringLiteral(" Нарушение протокола, код: ");
    if (!status.startsWith(exception))
        return false;
    bool number = false;
    const int code = status.mid(exception.size()).toInt(&number);
    return number && code >= 0 && code <= 255;
}

class Rig {
public:
    explicit Rig(QChar separator) : dispatch(host, separator) {
        port.open();
        dispatch.paramAnswer = [this, separator](const RxBuffer& rx) {
            ShowParamAnswer(rx, Catalogue(), boxes, separator);
        };
        dispatch.showPoll = [](const PollPicture& picture) {
            FUZZ_CHECK(picture.adc_board_d.size() == 4, picture.adc_board_d.toUtf8());
        };
    }

    void run(FuzzInput& in) {
        while (!in.atEnd())
            step(in);
        // Whatever the script left on the line is judged as well.
        tick();
    }

private:
    void step(FuzzInput& in) {
        RequestQueue& queue = cycle.request_queue;
        switch (static_cast<Step>(in.byte() % static_cast<int>(Step::Count))) {
        case Step::Feed:
            port.feed(in.bytes(in.byte()));
            break;
        case Step::FeedFrame:
            if (const QByteArray frame = in.bytes(in.byte()); !frame.isEmpty())
                port.feed(WithCrc(frame));
            break;
        case Step::Answer:
            port.feed(WithCrc(answerTo(inFlight, in.byte())));
            break;
        case Step::Exception:
            if (inFlight.size() >= 2)
                port.feed(WithCrc(inFlight.first(1) + char(inFlight[1] | 0x80) + char(in.byte())));
            break;
        case Step::Tick:
            tick();
            break;
        case Step::ReadRequest: {
            const std::uint16_t address = in.u16();
            const std::uint8_t count = in.byte();
            appends(1, [&] { return QueueReadRequest(queue, address, count); });
            break;
        }
        case Step::WriteRequest: {
            const std::uint16_t address = in.u16();
            const std::int32_t value = in.s32();
            const std::uint8_t count = in.byte();
            appends(1, [&] { return QueueWriteRequest(queue, address, value, count); });
            break;
        }
        case Step::Command: {
            const std::uint16_t code = in.u16();
            appends(1, [&] { return QueueCommandWrite(queue, code); });
            break;
        }
        case Step::PollRead:
            appends(1, [&] { return QueuePollRead(queue); });
            break;
        case Step::Transaction: {
            const std::uint16_t counter = in.u16();
            const bool flag = in.byte() & 1;
            appends(1, [&] { return QueueTransactionWrite(queue, counter, flag); });
            break;
        }
        case Step::ReadAll:
            appends(kReadAllFrames, [&] { return ReadAllParameters(queue, Catalogue()); });
            break;
        case Step::WriteAll:
            appends(kWriteAllFrames, [&] { return WriteAllParameters(cycle, Catalogue(), boxes); });
            break;
        case Step::AddressWrite: {
            // Both callers limit the new address to the line's 0..127 before arming.
            const int address = in.byte() & 0x7F;
            const std::uint8_t count = in.byte();
            appends(1, [&] {
                return cycle.QueueAddressWrite(Catalogue().param_address[kOwnAddressParam], address,
                                               count);
            });
            break;
        }
        case Step::Fill:
            for (int n = in.byte(); n >= 0; --n)
                appends(1, [&] { return QueueCommandWrite(queue, 0x1238); });
            break;
        case Step::BoxText: {
            const int index = in.u16() % kParamCount;
            boxes.setText(index, QString::fromLatin1(in.bytes(in.byte() % 32)));
            break;
        }
        case Step::OpenClose:
            if (port.isOpen())
                port.close();
            else
                port.open();
            break;
        case Step::SlaveAddress:
            host.address = in.byte() & 0x7F;
            break;
        case Step::ArmOff:
            host.armOff = !host.armOff;
            break;
        case Step::HoldLine:
            cycle.setLineHeld(!cycle.lineHeld());
            break;
        case Step::Count:
            break;
        }
    }

    // What a well-behaved controller sends back for a request: data for the reads, the echo
    // (or its first six bytes) for the writes. The data is a pattern grown from one input byte,
    // so a script stays readable however long the answer.
    static QByteArray answerTo(const QByteArray& request, std::uint8_t pattern) {
        const auto data = [pattern](int count) {
            QByteArray bytes(count, Qt::Uninitialized);
            for (int k = 0; k < count; ++k)
                bytes[k] = char(pattern + 37 * k);
            return bytes;
        };
        if (request.size() < 4)
            return data(3);
        const QByteArray head = request.first(request.size() - 2);
        switch (std::uint8_t(request[1])) {
        case 0x04:
            return head.first(2) + char(250) + data(250);
        case 0x64:
            return head + data(std::uint8_t(head.size() > 4 ? head[4] : 0));
        case 0x10:
            return head.first(6);
        default:
            return head;
        }
    }

    // A producer either appends all its frames or, when they do not fit, none of them.
    void appends(int frames, const std::function<bool()>& produce) {
        const RequestQueue& queue = cycle.request_queue;
        const int waiting = queue.waiting();
        const bool accepted = produce();
        FUZZ_CHECK(accepted == (waiting + frames <= RequestQueue::kCapacity),
                   "waiting " + Number(waiting) + ", frames " + Number(frames));
        FUZZ_CHECK(queue.waiting() == waiting + (accepted ? frames : 0),
                   "waiting " + Number(waiting) + " -> " + Number(queue.waiting()));
    }

    void tick() {
        const RequestQueue& queue = cycle.request_queue;
        const int readBefore = queue.queue_read;
        const int writeBefore = queue.queue_write;
        port.written.clear();
        cycle.ExchangeTick();

        FUZZ_CHECK(queue.queue_read >= 0 && queue.queue_read < RequestQueue::kSlots,
                   Number(queue.queue_read));
        FUZZ_CHECK(queue.queue_write >= 0 && queue.queue_write < RequestQueue::kSlots,
                   Number(queue.queue_write));
        FUZZ_CHECK(queue.waiting() <= RequestQueue::kCapacity, Number(queue.waiting()));
        FUZZ_CHECK(cycle.rx().rx_count >= 0 && cycle.rx().rx_count <= RxBuffer::kCells,
                   Number(cycle.rx().rx_count));
        if (cycle.lineHeld()) {
            FUZZ_CHECK(port.written.isEmpty() && queue.queue_read == readBefore &&
                           queue.queue_write == writeBefore,
                       "a tick touched the line while the dialog held it");
            return;
        }
        FUZZ_CHECK(KnownStatus(host.status), host.status.toUtf8());
        // One answer completes at most the one frame that was in flight.
        FUZZ_CHECK((queue.queue_read - readBefore + RequestQueue::kSlots) % RequestQueue::kSlots <=
                       1,
                   Number(readBefore) + " -> " + Number(queue.queue_read));
        // The frame just sent stays in the ring until it is answered.
        FUZZ_CHECK(!queue.empty(), "ring empty after a send");
        if (!port.isOpen()) {
            FUZZ_CHECK(port.written.isEmpty(), "written to a closed port");
            inFlight.clear();
            return;
        }
        FUZZ_CHECK(port.written.size() == 1, Number(port.written.size()) + " writes in one tick");
        inFlight = port.written.first();
        const int last = queue.queue_last[queue.queue_read];
        FUZZ_CHECK(inFlight.size() == last + 3,
                   HexText(inFlight).toLatin1() + ", queue_last " + Number(last));
        FUZZ_CHECK(last >= 1 && KnownFunction(std::uint8_t(inFlight[1])),
                   "not a built frame: " + HexText(inFlight).toLatin1());
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(inFlight.constData());
        const std::uint16_t crc = FrameCrc(bytes, last);
        FUZZ_CHECK(bytes[last + 1] == (crc & 0xFF) && bytes[last + 2] == (crc >> 8),
                   "bad CRC: " + HexText(inFlight).toLatin1());
        const auto& slot = queue.queue_frames[queue.queue_read];
        FUZZ_CHECK(std::equal(bytes + 1, bytes + last + 1, slot.begin() + 1),
                   "frame differs from its slot: " + HexText(inFlight).toLatin1());
    }

    FakeSerialPort port;
    RecordingHost host;
    AnswerDispatch dispatch;
    CheckedBoxes boxes;
    ExchangeCycle cycle{port, host, dispatch};
    QByteArray inFlight;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    // The first byte picks the user's decimal separator.
    Rig rig(in.byte() & 1 ? QLatin1Char(',') : QLatin1Char('.'));
    rig.run(in);
    return 0;
}

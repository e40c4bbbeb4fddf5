#pragma once

#include "host/link_host.h"
#include "link/byte_line.h"
#include "link/link_event.h"
#include "link/request_queue.h"
#include "link/requests.h"
#include "link/rx_buffer.h"

#include <QString>
#include <QTimer>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>

namespace link_text {
inline const QString kAnswerOk = QStringLiteral("Связь с контроллером ЗАРН установлена");
inline const QString kCrcMismatch = QStringLiteral("Ошибка обмена: Несовпадение КС");
inline const QString kNoAnswer = QStringLiteral("Ошибка обмена: Нет ответа от контроллера ЗАРН");
// While no port is open nothing is sent, so no controller can be blamed for the silence.
inline const QString kNoPort = QStringLiteral("Порт не выбран");
// Said when a command or a transfer does not fit into the request ring and is refused whole:
// in the status line, and as the title of the parameter window's message box.
inline const QString kQueueFull = QStringLiteral("Очередь запросов переполнена");
} // namespace link_text

// The strict request-answer cycle of the Modbus master. Each tick judges what arrived since the
// previous tick as the answer to the frame at queue_read, reports the outcome in the status line
// (or that no port is open, or why a network line does not carry), hands a good answer to the
// consumer of the request it answers and sends the next frame. The tick is the whole time-out; a
// frame is repeated every tick until it is answered with a correct CRC (and, for a strict request,
// by its own slave and function).
//
// The fast exchange (opt-in) keeps all of that and adds one thing between the ticks: while
// queued requests wait, the line is watched every millisecond, a whole good answer to the frame
// in flight is taken at once, and the next queued frame follows after the line's silence
// between frames. A frame sent between ticks has its own time-out, a tick long from its send.
// The poll and the transaction still go only on the tick, so the live picture and the
// controller's load do not change.
class ExchangeCycle {
public:
    // `polls`: the consumer of the poll answers, for the polls the cycle sends itself.
    ExchangeCycle(ByteLine& port, LinkHost& host, AnswerConsumer& polls);

    void ExchangeTick();

    // The quiet time the line keeps between an answer and the next frame: 3.5 characters, and
    // the 1.75 ms fixed for rates above 19200 baud.
    static constexpr std::int64_t kFrameSilenceUs = 1750;
    // A frame sent between ticks is given up on as the tick gives up on its own.
    static constexpr std::int64_t kAnswerTimeoutUs = 100000;
    static constexpr int kWatchIntervalMs = 1;

    void setFast(bool on);
    bool fast() const { return fast_exchange; }
    // One look at the line between ticks (the watch timer's work); tests call it directly.
    void watchLine();
    // Whether the fast exchange has a queued frame waiting or in flight and watches the line.
    bool watching() const;
    // Microseconds of a clock that never goes back; tests set their own.
    std::function<std::int64_t()> clock_us;

    // The one way to queue a request: false, with nothing queued, when the ring is full.
    bool queue(const Request& request);
    // A transfer of several frames, queued whole or (false) not at all: half a transfer would
    // leave the user with boxes that silently never fill.
    bool queueAll(const RequestBatch& batch);
    int freeRoom() const { return request_queue.freeRoom(); }
    // Frames waiting, the one in flight included.
    int waiting() const { return request_queue.waiting(); }
    // Answers taken since the start; tells a watcher when the frames it queued are through.
    long long answered() const { return answered_count; }
    // The bytes of the answer judged last; between ticks, what the fast exchange has taken so far.
    const RxBuffer& rx() const { return received; }

    // Every frame sent and every tick's judgement of its answer, as it happens.
    std::function<void(const LinkEvent&)> on_event;

    // While the port dialog probes other ports the line is not ours: ticks do nothing at all,
    // so no queued request (a СТАРТ among them) reaches whatever device sits on a probed port.
    void setLineHeld(bool held);
    bool lineHeld() const { return line_held; }

private:
    // Adds what has arrived to what the frame in flight has got so far.
    void drain();
    // Judges what arrived as the answer to the frame in flight, as the tick always has.
    void judge();
    // The tick after an answer the watch took, with nothing sent since.
    void tickAfterEarlyAnswer();
    void sendBetweenTicks(std::int64_t now);
    void followWatch();
    void SendNext();
    void tellAnswer(LinkOutcome outcome);
    // A frame with a good CRC: the head completed (unless a strict head refuses it), the status
    // line told, the answer handed to whoever asked for it.
    void takeAnswer();
    // A strict head in flight and a frame from another slave or about another function.
    bool headRefuses() const;
    // The tick after a request sent once went out found no answer to it: it leaves the ring.
    void giveUpOnce();
    // The consumer the answer goes to, judged before the head is completed.
    AnswerConsumer* consumerOfAnswer() const;

    ByteLine& port;
    LinkHost& host;
    AnswerConsumer& polls;

    RequestQueue request_queue;
    std::array<std::uint8_t, RequestQueue::kSlotBytes + 2> send_buffer{};
    RxBuffer received;
    bool poll_toggle = false;
    int transaction_counter = 0;
    long long answered_count = 0;
    // The frame at the head of the ring has gone out at least once (a send now is a repeat),
    // and a frame went out last tick (so the tick judges its answer).
    bool head_sent = false;
    bool in_flight = false;
    // By function, the consumer of the request of that function completed last. By default any
    // good frame completes the head, so an answer a tick late completes the request after its
    // own: it goes to the consumer of the last request of its function, its own.
    std::array<AnswerConsumer*, 128> latest_consumers{};
    // Armed own-address switches in ring order. Each fires when the frame of its slot is sent,
    // so two address writes queued one after the other both take effect, in turn.
    struct PendingAddress {
        int pending_address_slot = 0;
        int pending_address = 0;
    };
    std::deque<PendingAddress> pending_addresses;
    bool line_held = false;
    // The line was open and carrying bytes at the start of this tick.
    bool line_carries = false;
    // `received` holds a judged answer; the next drain starts afresh.
    bool rx_judged = true;

    bool fast_exchange = false;
    QTimer line_watch;
    // The frame in flight went out between ticks, at sent_at_us.
    bool sent_between_ticks = false;
    std::int64_t sent_at_us = 0;
    // When the watch last judged an answer, or -1 once a frame has gone out since.
    std::int64_t judged_early_at_us = -1;
};

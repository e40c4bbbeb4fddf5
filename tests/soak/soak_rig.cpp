#include "soak_rig.h"

#include "monitor/param_answer_decoder.h"

#include <QDeadlineTimer>
#include <QTest>

SoakRig::SoakRig(const QString& devicePath)
    : frm_param(&frm_main),
      port([devicePath](int com) { return com == 1 ? devicePath : QString(); }),
      dispatch(frm_main, kShownSeparator), cycle(port, frm_main, dispatch) {
    catalogue.BuildParamCatalogue();
    frm_main.fillSlaveAddresses();
    frm_main.createSignalGrid();
    dispatch.showPoll = [this](const PollPicture& picture) { frm_main.showPoll(picture); };
    dispatch.paramAnswer = [this](const RxBuffer& rx) {
        ShowParamAnswer(rx, catalogue, frm_param, kShownSeparator);
    };
    Timer1.setInterval(100);
    QObject::connect(&Timer1, &QTimer::timeout, [this] {
        const int before = cycle.request_queue.queue_read;
        cycle.ExchangeTick();
        ++tick_count;
        if (cycle.request_queue.queue_read != before)
            ++answered_count;
    });
}

OpenOutcome SoakRig::start() {
    const OpenOutcome outcome = port.open();
    frm_main.show();
    frm_param.show();
    Timer1.start();
    return outcome;
}

bool SoakRig::run(const std::function<bool()>& queue, int timeoutMs) {
    const RequestQueue& ring = cycle.request_queue;
    const int from = ring.queue_read;
    if (!queue())
        return false;
    // Frames leave in ring order, so the transfer is through once the read position has passed
    // the last frame it queued. Checked far more often than it can move, so it cannot wrap.
    const int span = (ring.queue_write - from + RequestQueue::kSlots) % RequestQueue::kSlots;
    QDeadlineTimer deadline(timeoutMs);
    while ((ring.queue_read - from + RequestQueue::kSlots) % RequestQueue::kSlots < span) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(20);
    }
    return true;
}

void SoakRig::whitenBoxes() {
    for (int i = 0; i < kParamCount; ++i)
        frm_param.setState(i, BoxState::Changed);
}

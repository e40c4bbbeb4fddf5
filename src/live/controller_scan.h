#pragma once

#include "link/rx_buffer.h"
#include "live/poll_decoder.h"

#include <QString>
#include <functional>
#include <vector>

class ExchangeCycle;

// A controller that answered the scan's poll, as the scan lists it.
struct FoundController {
    int address = 0;
    QString object_type; // "ДГУ", "ДРА", or the number of a type the tool does not know
    QString sw_ver;
    QString pr_ver;
    QString motomin; // running hours, as the main window shows them
};

// The search for the controllers on a line: the poll read, once, to each address 1..127 in
// turn. Each probe names its own slave, so the address list of the main window is never moved,
// and is strict, so only that slave's answer counts; a probe gets one tick. Its answers go to
// the scan alone: the live picture, the history and the journal never take them for the chosen
// controller's. The ring is kept two probes ahead, so no poll of the chosen controller slips in
// between and the whole line takes 127 ticks.
class ControllerScan : public AnswerConsumer {
public:
    static constexpr int kFirstAddress = 1;
    static constexpr int kLastAddress = 127;
    static constexpr int kAddressCount = kLastAddress - kFirstAddress + 1;

    ControllerScan(ExchangeCycle& cycle, QChar decimalSeparator);

    // Starts from the first address, forgetting what an earlier scan found (answers to its
    // probes still on the line are not listed); false when the ring has no room.
    bool begin();
    // No more probes: the ones already queued still go out (and may still find a controller).
    void stop();
    // Called after every tick: keeps the ring fed while the scan runs.
    void follow();

    bool running() const { return scanning && probed < kAddressCount; }
    // Stopped or through, and none of its probes left on the line: the chosen controller has the
    // line again.
    bool over() const { return !running() && queued == probed; }
    // Addresses asked and judged so far (answered or not).
    int done() const { return probed; }
    const std::vector<FoundController>& found() const { return controllers; }

    // Each controller as it answers.
    std::function<void(const FoundController&)> on_found = [](const FoundController&) {};

    void DecodeAnswer(const RxBuffer& answer) override;
    void missed() override;

private:
    // The next address the probes of this scan have to reach.
    int nextAddress() const { return kFirstAddress + queued; }

    ExchangeCycle& cycle;
    PollDecoder decoder;
    bool scanning = false;
    // Probes of this scan put into the ring, and those ended (answered or missed). Probes end
    // in the order they were queued, so the n-th end is the n-th address.
    int queued = 0;
    int probed = 0;
    // Probes on the line that an earlier, stopped scan left behind.
    int leftover = 0;
    std::vector<FoundController> controllers;
};

// The journal's lines of a scan: "Поиск контроллеров на линии", "Найден контроллер: адрес 12,
// ДРА, версия ПО 1.7, версия протокола 2.3, общая наработка 2057 мч", and the end: "Поиск
// контроллеров окончен: найдено 3 контроллера (адреса 7, 12, 30)" or "… остановлен на адресе 40:
// …".
QString ScanBeginText();
// How far it is, in the dialog and on the batch mode's console: "Поиск контроллеров: адрес 37
// из 127".
QString ScanProgressText(const ControllerScan& scan);
QString FoundText(const FoundController& controller);
QString ScanEndText(const ControllerScan& scan);
// The batch mode's line of a found controller: "адрес;тип;версия ПО;версия протокола".
QString FoundLine(const FoundController& controller);

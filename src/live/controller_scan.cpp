#include "live/controller_scan.h"

#include "link/exchange_cycle.h"
#include "text/russian_count.h"

#include <QStringList>
#include <algorithm>

namespace {
// The ring holds this many probes of the scan, the one in flight included, so that the next is
// always there when a probe ends.
constexpr int kProbesAhead = 2;

// "найден 1 контроллер", "найдено 3 контроллера", "найден 21 контроллер".
constexpr RussianNoun kFound{"найден", "найдено", "найдено"};

Request probeOf(int address, AnswerConsumer& scan) {
    Request probe = AnsweredBy(PollRequest(), scan);
    probe.slave = address;
    probe.strict = true;
    probe.once = true;
    return probe;
}

// "1.7": the two bytes of poll register k, as the panel's label names a version. The main
// window's own texts keep the blanks of its number format, which a list and a script do without.
QString versionAt(const RxBuffer& rx, int k) {
    return QStringLiteral("%1.%2").arg(rx[3 + 2 * k]).arg(rx[4 + 2 * k]);
}

QString foundSummary(const std::vector<FoundController>& found) {
    if (found.empty())
        return QStringLiteral("контроллеры не найдены");
    QStringList addresses;
    for (const FoundController& controller : found)
        addresses << QString::number(controller.address);
    const auto count = static_cast<long long>(found.size());
    return QStringLiteral("%1 %2 (%3 %4)")
        .arg(NounFor(count, kFound), CountOf(count, nouns::kController),
             count == 1 ? QStringLiteral("адрес") : QStringLiteral("адреса"),
             addresses.join(QStringLiteral(", ")));
}
} // namespace

ControllerScan::ControllerScan(ExchangeCycle& cycle, QChar decimalSeparator)
    : cycle(cycle), decoder(decimalSeparator) {}

bool ControllerScan::begin() {
    leftover += queued - probed;
    queued = 0;
    probed = 0;
    controllers.clear();
    scanning = true;
    follow();
    return scanning = queued > 0;
}

void ControllerScan::stop() {
    scanning = false;
}

void ControllerScan::follow() {
    while (scanning && nextAddress() <= kLastAddress && queued - probed < kProbesAhead &&
           cycle.queue(probeOf(nextAddress(), *this)))
        ++queued;
}

void ControllerScan::DecodeAnswer(const RxBuffer& answer) {
    if (leftover > 0) {
        --leftover;
        return;
    }
    const PollPicture picture = decoder.decode(answer);
    FoundController controller{kFirstAddress + probed++,
                               picture.object_look ? picture.object_look->caption
                                                   : QString::number(decoder.object_type),
                               versionAt(answer, 1), versionAt(answer, 0), picture.motomin};
    controllers.push_back(controller);
    on_found(controller);
}

void ControllerScan::missed() {
    if (leftover > 0)
        --leftover;
    else
        ++probed;
}

QString ScanBeginText() {
    return QStringLiteral("Поиск контроллеров на линии");
}

QString ScanProgressText(const ControllerScan& scan) {
    return QStringLiteral("Поиск контроллеров: адрес %1 из %2")
        .arg(std::min(ControllerScan::kFirstAddress + scan.done(), ControllerScan::kLastAddress))
        .arg(ControllerScan::kLastAddress);
}

QString FoundText(const FoundController& controller) {
    return QStringLiteral("Найден контроллер: адрес %1, %2, версия ПО %3, версия протокола %4, "
                          "общая наработка %5")
        .arg(QString::number(controller.address), controller.object_type, controller.sw_ver,
             controller.pr_ver, controller.motomin);
}

QString ScanEndText(const ControllerScan& scan) {
    const QString found = foundSummary(scan.found());
    if (scan.done() < ControllerScan::kAddressCount)
        return QStringLiteral("Поиск контроллеров остановлен на адресе %1: %2")
            .arg(ControllerScan::kFirstAddress + scan.done() - 1)
            .arg(found);
    return QStringLiteral("Поиск контроллеров окончен: ") + found;
}

QString FoundLine(const FoundController& controller) {
    return QStringLiteral("%1;%2;%3;%4")
        .arg(QString::number(controller.address), controller.object_type, controller.sw_ver,
             controller.pr_ver);
}

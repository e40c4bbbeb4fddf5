#include "params/param_description.h"

#include "params/param_captions.h"
#include "params/param_catalogue.h"
#include "params/param_groups.h"

namespace {

QString ChannelDescription(int index) {
    const int frame = (index - 37) / 40;
    const int column = (index - 37) % 40 / kChannelsPerGroup;
    const int row = (index - 37) % kChannelsPerGroup;
    const QString rowName = frame == 0 ? PanelChannelName(row) : QString("канал %1").arg(row + 1);
    return QString("%1, %2, %3").arg(SnxTabCaption(frame), rowName, ChannelColumnCaption(column));
}

QString RelayDescription(const QString& group, int row) {
    return QString("%1, реле %2").arg(group).arg(row + 1);
}

QString LogicDescription(int index) {
    if (index < NotInputIndex(0, 0)) {
        const int block = (index - MajorityThresholdIndex(0)) / 9;
        const int place = (index - MajorityThresholdIndex(0)) % 9;
        const QString tab = LogicTabCaption(block);
        return place == 0 ? tab + ", порог" : QString("%1, вход %2").arg(tab).arg(place);
    }
    const int block = (index - NotInputIndex(0, 0)) / kLogicInputs;
    const int input = (index - NotInputIndex(0, 0)) % kLogicInputs;
    return QString("%1, вход %2").arg(LogicTabCaption(kMajorityBlocks + block)).arg(input + 1);
}

// Position of a box within its multiplier row, 0 for every other box.
int MultiplierPlace(int index) {
    switch (index) {
    case 493:
    case 502:
        return 1;
    case 495:
    case 503:
        return 2;
    case 496:
    case 504:
        return 3;
    default:
        return 0;
    }
}

} // namespace

QString ParamDescription(int index) {
    if (index >= ChannelIndex(0, 0, 0) && index < PanelRelayIndex(0))
        return ChannelDescription(index);
    if (index >= PanelRelayIndex(0) && index < SwitchboardRelayIndex(0))
        return RelayDescription(PanelRelayHeading(), index - PanelRelayIndex(0));
    if (index >= SwitchboardRelayIndex(0) && index < KltRelayIndex(0, 0))
        return RelayDescription(SwitchboardRelayHeading(), index - SwitchboardRelayIndex(0));
    if (index >= KltRelayIndex(0, 0) && index <= KltRelayIndex(kKltFrames - 1, kKltRelays - 1)) {
        const int frame = (index - KltRelayIndex(0, 0)) / kKltRelays;
        return RelayDescription(KltTabCaption(frame), (index - KltRelayIndex(0, 0)) % kKltRelays);
    }
    if (index >= MajorityThresholdIndex(0) && index <= NotInputIndex(kNotBlocks - 1, 7))
        return LogicDescription(index);
    const QString caption = ParamCaption(index);
    if (caption.isEmpty())
        return index >= 0 && index < kParamCount ? QString("Без подписи, не показывается")
                                                 : QString();
    const int place = MultiplierPlace(index);
    return place ? QString("%1, %2").arg(caption).arg(place) : caption;
}

#include "params/param_groups.h"

QString SnxTabCaption(int frame) {
    return frame == 0 ? QString("Каналы ПКВ.604") : QString("SNX%1").arg(frame);
}

QString SnxFrameCaption(int frame) {
    return frame == 0 ? QString("Параметры каналов ПКВ.604")
                      : QString("Параметры каналов модуля SNX%1").arg(frame);
}

QString KltTabCaption(int frame) {
    return QString("KLT%1").arg(frame + 1);
}

QString KltFrameCaption(int frame) {
    return QString("Реле модуля KLT%1").arg(frame + 1);
}

QString LogicTabCaption(int frame) {
    return frame < kMajorityBlocks ? QString("М%1").arg(frame + 1)
                                   : QString("НЕ%1").arg(frame - kMajorityBlocks + 1);
}

QString LogicFrameCaption(int frame) {
    if (frame < kMajorityBlocks)
        return QString("Логический блок мажоритарный М%1. Выход %2").arg(frame + 1).arg(frame + 61);
    return QString("Логический блок Н%1 (8НЕ8).").arg(frame - kMajorityBlocks + 1);
}

QString PanelRelayHeading() {
    return QString("Реле ПКВ ");
}

QString SwitchboardRelayHeading() {
    return QString("Реле ГРЩ");
}

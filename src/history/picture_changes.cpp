#include "history/picture_changes.h"

#include "history/journal_kinds.h"
#include "live/panel_names.h"

namespace {
const QString kQuietFault = QStringLiteral("0000");

QString onOff(bool on) {
    return on ? QStringLiteral("вкл") : QStringLiteral("выкл");
}
} // namespace

PictureChanges::PictureChanges() {
    faults.fill(kQuietFault);
}

QList<JournalEntry> PictureChanges::take(const PollPicture& picture, std::int64_t wallMs) {
    QList<JournalEntry> lines;
    const auto add = [&](JournalKind kind, const QString& text) {
        lines.append({wallMs, kind, text});
    };
    // A type other than ДГУ and ДРА leaves the window as it was, and so the journal.
    if (picture.object_look && picture.object_look->caption != object_caption) {
        object_caption = picture.object_look->caption;
        add(JournalKind::Panel, panel_text::kObjectType + QStringLiteral(": ") + object_caption);
    }
    if (picture.modbus_blocked != modbus_blocked) {
        modbus_blocked = picture.modbus_blocked;
        add(JournalKind::Panel,
            modbus_blocked ? journal_text::kModbusBlocked : journal_text::kModbusUnblocked);
    }
    for (int i = 0; i < kLedCount; ++i)
        if (picture.led_lit[i] != led_lit[i])
            add(JournalKind::Indicator,
                QStringLiteral("«%1»: %2").arg(LedCaption(i), onOff(picture.led_lit[i])));
    // Signal 0 has no place on the grid.
    for (int i = 1; i < kSignalCount; ++i)
        if (picture.signal_lit[i] != signal_lit[i])
            add(JournalKind::Signal,
                QStringLiteral("Сигнал %1: %2").arg(i).arg(onOff(picture.signal_lit[i])));
    for (int i = 0; i < kFaultCount; ++i)
        if (picture.faults[i] != faults[i]) {
            add(JournalKind::Fault,
                QStringLiteral("«%1» «%2»: %3 → %4")
                    .arg(FaultColumnName(i), FaultRowName(i), faults[i], picture.faults[i]));
            faults[i] = picture.faults[i];
        }
    led_lit = picture.led_lit;
    signal_lit = picture.signal_lit;
    return lines;
}

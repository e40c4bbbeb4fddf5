#include "live/poll_decoder.h"

#include "link/big_endian.h"
#include "live/number_format.h"

namespace {
const QString kHours = QStringLiteral("мч");

// Poll register k of a function-4 answer starts at this cell.
constexpr int RegOffset(int k) {
    return 3 + 2 * k;
}
std::int32_t u16(const RxBuffer& rx, int k) {
    return ReadBigEndian(rx, RegOffset(k), 2);
}
std::int32_t s16(const RxBuffer& rx, int k) {
    return ReadBigEndianSigned(rx, RegOffset(k), 2);
}

// The look of object types 0 ("ДГУ") and 1 ("ДРА"); nothing for any other type.
std::optional<ObjectTypeLook> LookOfObjectType(std::int32_t objectType) {
    if (objectType != 0 && objectType != 1)
        return std::nullopt;
    const bool dra = objectType == 1;
    ObjectTypeLook look;
    look.caption = dra ? QStringLiteral("ДРА") : QStringLiteral("ДГУ");
    for (int i = 0; i < 6; ++i)
        look.led_visible[i] = true;
    look.led_visible[6] = !dra;
    look.led_visible[7] = dra;
    look.led_visible[8] = dra;
    look.led_visible[9] = dra;
    look.led_visible[10] = !dra;
    look.prop_shaft_visible = dra;
    return look;
}
} // namespace

PollPicture PollDecoder::decode(const RxBuffer& rx) {
    PollPicture p;
    const auto whole = [&](std::int64_t value) {
        return FormatScaled(value, 0, 1, QString(), separator);
    };
    const auto version = [&](int k) {
        return whole(rx[RegOffset(k)]) + QLatin1Char('.') + whole(rx[RegOffset(k) + 1]);
    };
    p.pr_ver = version(0);
    p.sw_ver = version(1);
    p.modbus_blocked = (u16(rx, 0) >> 15) & 1;

    object_type = u16(rx, 2);
    p.object_look = LookOfObjectType(object_type);

    const double perHour = 1.0 / 60.0;
    p.service = FormatScaled(s16(rx, 72), 0, perHour, kHours, separator);
    p.motomin = FormatScaled(ReadBigEndianPair(rx, RegOffset(73)), 0, perHour, kHours, separator);
    p.quantities = ReadQuantities(rx);
    for (int q = 0; q < kQuantityCount; ++q)
        p.quantity_texts[q] = QuantityWindowText(QuantityAt(q), p.quantities[q], separator);
    p.adc_board_d = HexPadded(u16(rx, 66), 4);

    // Register 75 + r holds signals 16r..16r+15, lowest bit first; register 70 the LEDs.
    for (int r = 0; r < 16; ++r)
        p.signal_lit |= std::bitset<kSignalCount>(static_cast<unsigned>(u16(rx, 75 + r))) << 16 * r;
    p.led_lit = std::bitset<kLedCount>(static_cast<unsigned>(u16(rx, 70)));
    for (int i = 0; i < kFaultCount; ++i)
        p.faults[i] = HexPadded(u16(rx, 92 + i), 4);
    return p;
}

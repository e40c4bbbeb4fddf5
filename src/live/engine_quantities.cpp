#include "live/engine_quantities.h"

#include "link/big_endian.h"
#include "live/number_format.h"

namespace {
// Made on first use: a window or a test may ask for it while other files' statics are made.
const std::array<QuantityLook, kQuantityCount>& looks() {
    static const std::array<QuantityLook, kQuantityCount> table = [] {
        const QString rpm = QStringLiteral("об/мин");
        const QString celsius = QStringLiteral("°C");
        const QString pressure = QStringLiteral("кг/см2");
        const QString oil = QStringLiteral("Масло");
        const QString gearOil = QStringLiteral("Масло ред.");
        return std::array<QuantityLook, kQuantityCount>{{
            {QStringLiteral("Двигатель"), rpm, 0, 1, 100,
             QStringLiteral("Частота вращения двигателя"), "eng_rpm", true, 3, true},
            {QStringLiteral("Гребной вал"), rpm, 0, 1, 100,
             QStringLiteral("Частота вращения гребного вала"), "prop_rpm", false, 5, true},
            {QStringLiteral("ОЖ"), celsius, 1, 0.1, 10, QStringLiteral("Температура ОЖ"), "ct",
             true, 7},
            {oil, celsius, 1, 0.1, 10, QStringLiteral("Температура масла"), "oilt", false, 8},
            {gearOil, celsius, 1, 0.1, 10, QStringLiteral("Температура масла редуктора"), "goilt",
             false, 13},
            {oil, pressure, 2, 0.01, 1, QStringLiteral("Давление масла"), "oilp", false, 9},
            {gearOil, pressure, 2, 0.01, 1, QStringLiteral("Давление масла редуктора"), "goilp",
             false, 14},
            {QStringLiteral("ВТК"), pressure, 2, 0.01, 1, QStringLiteral("Давление ВТК"), "inp",
             false, 10},
            {QStringLiteral("НТК"), pressure, 2, 0.01, 1, QStringLiteral("Давление НТК"), "outp",
             false, 11},
            {QStringLiteral("Аккумулятор"), QStringLiteral("В"), 1, 0.1, 2,
             QStringLiteral("Аккумулятор"), "acc", false, 15},
        }};
    }();
    return table;
}

int registerOffset(int k) {
    return 3 + 2 * k;
}
} // namespace

const QuantityLook& LookOf(Quantity quantity) {
    return looks()[static_cast<int>(quantity)];
}

QString QuantityTitle(Quantity quantity) {
    const QuantityLook& look = LookOf(quantity);
    return look.name + QStringLiteral(", ") + look.unit;
}

QString QuantityDescription(Quantity quantity) {
    const QuantityLook& look = LookOf(quantity);
    return look.meaning + QStringLiteral(", ") + look.unit;
}

QuantityValues ReadQuantities(const RxBuffer& rx) {
    QuantityValues values{};
    for (int q = 0; q < kQuantityCount; ++q) {
        const QuantityLook& look = LookOf(QuantityAt(q));
        const int offset = registerOffset(look.register_index);
        values[q] =
            look.two_registers ? ReadBigEndianPair(rx, offset) : ReadBigEndianSigned(rx, offset, 2);
    }
    return values;
}

QString QuantityWindowText(Quantity quantity, std::int64_t value, QChar decimalSeparator) {
    const QuantityLook& look = LookOf(quantity);
    return FormatScaled(value, look.decimals, look.scale, QString(), decimalSeparator);
}

QString QuantityText(Quantity quantity, std::int64_t value, QChar decimalSeparator) {
    QString text = QuantityWindowText(quantity, value, decimalSeparator);
    text.chop(1);
    return text;
}

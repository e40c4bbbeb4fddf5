#include "live/engine_quantities.h"

#include "link/big_endian.h"
#include "live/number_format.h"

namespace {
// Where each quantity sits among the poll registers, and how wide it is.
struct Source {
    int register_index;
    bool two_registers; // unsigned 32 bits, high register first; else signed 16 bits
};

constexpr std::array<Source, kQuantityCount> kSources{{
    {3, true},
    {5, true},
    {7, false},
    {8, false},
    {13, false},
    {9, false},
    {14, false},
    {10, false},
    {11, false},
    {15, false},
}};

const std::array<QuantityLook, kQuantityCount>& looks() {
    static const std::array<QuantityLook, kQuantityCount> table{{
        {QStringLiteral("Двигатель"), QStringLiteral("об/мин"), 0, 1, 100},
        {QStringLiteral("Гребной вал"), QStringLiteral("об/мин"), 0, 1, 100},
        {QStringLiteral("ОЖ"), QStringLiteral("°C"), 1, 0.1, 10},
        {QStringLiteral("Масло"), QStringLiteral("°C"), 1, 0.1, 10},
        {QStringLiteral("Масло ред."), QStringLiteral("°C"), 1, 0.1, 10},
        {QStringLiteral("Масло"), QStringLiteral("кг/см2"), 2, 0.01, 1},
        {QStringLiteral("Масло ред."), QStringLiteral("кг/см2"), 2, 0.01, 1},
        {QStringLiteral("ВТК"), QStringLiteral("кг/см2"), 2, 0.01, 1},
        {QStringLiteral("НТК"), QStringLiteral("кг/см2"), 2, 0.01, 1},
        {QStringLiteral("Аккумулятор"), QStringLiteral("В"), 1, 0.1, 2},
    }};
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

QuantityValues ReadQuantities(const RxBuffer& rx) {
    QuantityValues values{};
    for (int q = 0; q < kQuantityCount; ++q) {
        const Source source = kSources[q];
        const int offset = registerOffset(source.register_index);
        values[q] = source.two_registers ? ReadBigEndianPair(rx, offset)
                                         : ReadBigEndianSigned(rx, offset, 2);
    }
    return values;
}

QString QuantityText(Quantity quantity, std::int64_t value, QChar decimalSeparator) {
    const QuantityLook& look = LookOf(quantity);
    QString text = FormatScaled(value, look.decimals, look.scale, QString(), decimalSeparator);
    text.chop(1);
    return text;
}

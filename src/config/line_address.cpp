#include "config/line_address.h"

namespace {
constexpr int kLastComNumber = 255;
} // namespace

bool NamesALine(const LineAddress& address) {
    return address.com_number >= 1 && address.com_number <= kLastComNumber;
}

QString LineName(const LineAddress& address) {
    return QStringLiteral("COM%1").arg(address.com_number);
}

std::optional<LineAddress> LineAddressFromText(const QString& text) {
    bool number = false;
    const LineAddress address{text.toInt(&number)};
    if (!number || !NamesALine(address))
        return std::nullopt;
    return address;
}

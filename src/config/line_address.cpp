#include "config/line_address.h"

#include <QUrl>

namespace {
constexpr int kLastComNumber = 255;
constexpr int kLastTcpPort = 65535;
const QString kNetworkScheme = QStringLiteral("tcp");
} // namespace

bool NamesALine(const LineAddress& address) {
    if (address.isNetwork())
        return address.tcp_port >= 1 && address.tcp_port <= kLastTcpPort;
    return address.com_number >= 1 && address.com_number <= kLastComNumber;
}

QString LineName(const LineAddress& address) {
    if (!address.isNetwork())
        return QStringLiteral("COM%1").arg(address.com_number);
    const QString host = address.host.contains(QLatin1Char(':'))
                             ? QLatin1Char('[') + address.host + QLatin1Char(']')
                             : address.host;
    return kNetworkScheme + QStringLiteral("://") + host + QLatin1Char(':') +
           QString::number(address.tcp_port);
}

std::optional<LineAddress> NetworkAddressFromText(const QString& text) {
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    // Nothing but a host and a port: a path, a user or a query would be a mistyped address.
    const bool bare =
        url.path().isEmpty() && url.userInfo().isEmpty() && !url.hasQuery() && !url.hasFragment();
    if (!url.isValid() || url.scheme() != kNetworkScheme || !bare || url.host().isEmpty())
        return std::nullopt;
    const LineAddress address(url.host(), url.port());
    if (!NamesALine(address))
        return std::nullopt;
    return address;
}

std::optional<LineAddress> LineAddressFromText(const QString& text) {
    if (text.startsWith(kNetworkScheme + QLatin1Char(':'), Qt::CaseInsensitive))
        return NetworkAddressFromText(text);
    bool number = false;
    const LineAddress address{text.toInt(&number)};
    if (!number || !NamesALine(address))
        return std::nullopt;
    return address;
}

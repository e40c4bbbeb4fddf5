#include "config/config_file.h"

#include "disk/ini_file.h"
#include "text/file_failure.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <optional>
#include <utility>

namespace {
const QString kErrorTitle = file_text::kOpenErrorTitle + QLatin1Char(' ');
const QString kPcSection = QStringLiteral("PC config");
const QString kComKey = QStringLiteral("COM");

// A decimal number (point or comma) rounded half to even, if it names a byte.
std::optional<std::uint8_t> portNumberFromText(QString text) {
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+([.,]\\d*)?|[.,]\\d+)$"));
    text = text.trimmed();
    if (!number.match(text).hasMatch())
        return std::nullopt;
    const double rounded =
        std::nearbyint(text.replace(QLatin1Char(','), QLatin1Char('.')).toDouble());
    if (!(rounded >= 0 && rounded <= 255))
        return std::nullopt;
    return static_cast<std::uint8_t>(rounded);
}
} // namespace

ConfigFile::ConfigFile(QString path, LinkHost& host, MessageBoxService& boxes)
    : file_path(std::move(path)), host(host), boxes(boxes) {}

void ConfigFile::LoadConfig() {
    com_port = 1;
    if (!QFileInfo(file_path).isFile()) {
        SaveConfig();
        host.setText(QString());
        return;
    }
    host.showProgress(QStringLiteral("Чтение конфигурации"));
    const QString error = kErrorTitle + QFileInfo(file_path).fileName() + file_text::kForReading +
                          QStringLiteral("\r\n");
    for (;;) {
        const auto port =
            portNumberFromText(ReadIniValue(file_path, kPcSection, kComKey, QStringLiteral("1")));
        if (port) {
            com_port = *port;
            break;
        }
        if (boxes.ask(MessageIcon::Critical, kErrorTitle, error, MessageButtons::RetryCancel) !=
            MessageAnswer::Retry)
            return;
    }
    host.setText(QString());
}

void ConfigFile::SaveConfig() {
    host.showProgress(QStringLiteral("Сохранение конфигурации"));
    const QString error = kErrorTitle + QFileInfo(file_path).fileName() + file_text::kForWriting;
    const std::pair<QString, QString> writes[] = {
        {kPcSection, kComKey},
        {QStringLiteral("QLA config"), QStringLiteral("MBSLAD")},
    };
    const QString values[] = {QString::number(com_port), QString::number(host.slaveAddress())};
    for (int i = 0; i < 2; ++i)
        while (!WriteIniValue(file_path, writes[i].first, writes[i].second, values[i]))
            if (boxes.ask(MessageIcon::Critical, kErrorTitle, error, MessageButtons::RetryCancel) !=
                MessageAnswer::Retry) {
                host.setText(QString());
                return;
            }
    host.setText(QString());
}

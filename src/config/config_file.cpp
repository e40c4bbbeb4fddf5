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
const QString kFastKey = QStringLiteral("FAST");

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
    fast_exchange = false;
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
    fast_exchange =
        ReadIniValue(file_path, kPcSection, kFastKey, QStringLiteral("0")).trimmed() == "1";
    host.setText(QString());
}

void ConfigFile::SaveConfig() {
    host.showProgress(QStringLiteral("Сохранение конфигурации"));
    if (writeValue(kPcSection, kComKey, QString::number(com_port)))
        writeValue(QStringLiteral("QLA config"), QStringLiteral("MBSLAD"),
                   QString::number(host.slaveAddress()));
    host.setText(QString());
}

void ConfigFile::saveFastExchange() {
    host.showProgress(QStringLiteral("Сохранение конфигурации"));
    writeValue(kPcSection, kFastKey, fast_exchange ? QStringLiteral("1") : QStringLiteral("0"));
    host.setText(QString());
}

bool ConfigFile::writeValue(const QString& section, const QString& key, const QString& value) {
    const QString error = kErrorTitle + QFileInfo(file_path).fileName() + file_text::kForWriting;
    while (!WriteIniValue(file_path, section, key, value))
        if (boxes.ask(MessageIcon::Critical, kErrorTitle, error, MessageButtons::RetryCancel) !=
            MessageAnswer::Retry)
            return false;
    return true;
}

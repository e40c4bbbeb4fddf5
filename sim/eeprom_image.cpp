#include "eeprom_image.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>

EepromImage::EepromImage() {
    // Bytes no parameter covers keep a recognisable pattern rather than zeros, so a test that
    // reads the wrong address sees it.
    for (int address = 0; address < kSize; ++address)
        bytes[address] = static_cast<std::uint8_t>((address * 7 + 0x5A) & 0xFF);
}

bool EepromImage::contains(int address, int count) const {
    return address >= 0 && count >= 0 && address + count <= kSize;
}

QByteArray EepromImage::read(int address, int count) const {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()) + address, count);
}

void EepromImage::write(int address, const QByteArray& data) {
    std::copy(data.begin(), data.end(), bytes.begin() + address);
}

void EepromImage::storeBigEndian(int address, int size, std::int32_t value) {
    for (int k = 0; k < size; ++k)
        bytes[address + k] = static_cast<std::uint8_t>(
            (static_cast<std::uint32_t>(value) >> (8 * (size - 1 - k))) & 0xFF);
}

bool EepromImage::load(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + ": " + file.errorString();
        return false;
    }
    const QByteArray data = file.read(kSize + 1);
    if (data.size() != kSize) {
        error =
            QStringLiteral("%1: a parameter memory image has %2 bytes, this file has %3")
                .arg(path)
                .arg(kSize)
                .arg(data.size() > kSize ? QStringLiteral("more") : QString::number(data.size()));
        return false;
    }
    write(0, data);
    return true;
}

bool EepromImage::save(const QString& path, QString& error) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(bytes.data()), kSize) != kSize || !file.commit()) {
        error = path + ": " + file.errorString();
        return false;
    }
    return true;
}

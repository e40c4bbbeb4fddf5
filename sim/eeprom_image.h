#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

// The controller's parameter memory: 4096 bytes addressed 0x000..0xFFF. It can live in a file
// so that a test or a soak run can see what the controller holds, and so that a restarted
// simulator keeps what the tool wrote.
class EepromImage {
public:
    static constexpr int kSize = 4096;

    EepromImage();

    bool contains(int address, int count) const;
    QByteArray read(int address, int count) const;
    void write(int address, const QByteArray& bytes);
    std::uint8_t at(int address) const { return bytes[address]; }
    // Stores `size` bytes of value, most significant first (the parameters' byte order).
    void storeBigEndian(int address, int size, std::int32_t value);

    // Reads exactly 4096 bytes; on failure the image is unchanged and `error` tells why.
    bool load(const QString& path, QString& error);
    // Replaces the file as a whole (temporary file, then rename), never leaving half an image.
    bool save(const QString& path, QString& error) const;

private:
    std::array<std::uint8_t, kSize> bytes{};
};

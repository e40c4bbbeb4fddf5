#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>

// The data of a read's answer for each pattern, made once for the whole run.
inline const QByteArray& AnswerData(std::uint8_t pattern) {
    static const std::array<QByteArray, 256> kData = [] {
        std::array<QByteArray, 256> data;
        for (int p = 0; p < 256; ++p) {
            data[p].resize(256);
            for (int k = 0; k < 256; ++k)
                data[p][k] = char(p + 37 * k);
        }
        return data;
    }();
    return kData[pattern];
}

// What a well-behaved controller answers to `request` (a whole frame as the tool sent it), before
// its CRC: data made from `pattern` for the reads, the echo for the writes.
inline QByteArray AnswerTo(const QByteArray& request, std::uint8_t pattern) {
    const QByteArray& data = AnswerData(pattern);
    if (request.size() < 4)
        return data.first(3);
    const QByteArray head = request.first(request.size() - 2);
    const auto function = std::uint8_t(request[1]);
    if (function == 0x04)
        return head.first(2) + char(250) + data.first(250);
    if (function == 0x64)
        return head + data.first(std::uint8_t(head.size() > 4 ? head[4] : 0));
    return function == 0x10 ? head.first(6) : head;
}

// The controller's refusal of `request` with exception `code`, before its CRC.
inline QByteArray RefusalOf(const QByteArray& request, char code) {
    return request.size() < 2 ? QByteArray() : request.first(1) + char(request[1] | 0x80) + code;
}

#pragma once

#include <QByteArray>
#include <QList>
#include <cstdint>

// Cuts the byte stream of the line into requests. A request of a function the controller knows
// ends where its function says (8 bytes for 4 and 6, 9+N for 16, 7 for 100, 7+N for 101); any
// other ends at a silence of a few character times. A frame with a bad CRC, or garbage, is
// dropped together with everything up to the next silence, which is where the next request
// starts.
class RtuFramer {
public:
    struct Frame {
        QByteArray bytes; // including the CRC
        bool crc_ok = false;
    };

    static constexpr std::int64_t kDefaultSilenceUs = 2000;
    static constexpr int kMaxFrame = 256;

    explicit RtuFramer(std::int64_t silenceUs = kDefaultSilenceUs) : silence_us(silenceUs) {}

    // Bytes that arrived at nowUs; returns the frames they complete, in order.
    QList<Frame> push(const QByteArray& bytes, std::int64_t nowUs);
    // Nothing more arrived until nowUs: a silence that long ends a frame of unknown length.
    QList<Frame> idle(std::int64_t nowUs);
    // When idle() next has something to do, or -1 while no frame is under way.
    std::int64_t silenceDeadline() const;

private:
    static int expectedLength(const QByteArray& partial);
    void finishBySilence(QList<Frame>& frames);
    void emitFrame(QList<Frame>& frames);

    std::int64_t silence_us;
    std::int64_t last_byte_us = 0;
    QByteArray partial;
    bool discarding = false;
};

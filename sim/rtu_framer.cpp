#include "rtu_framer.h"

#include "crc16.h"

namespace {
constexpr int kUnknown = -1; // the function does not say: a silence ends the frame
constexpr int kNotYet = 0;   // too few bytes to tell
constexpr int kMinFrame = 4; // address, function, CRC
} // namespace

int RtuFramer::expectedLength(const QByteArray& partial) {
    if (partial.size() < 2)
        return kNotYet;
    const auto byteAt = [&](int i) { return static_cast<std::uint8_t>(partial[i]); };
    switch (byteAt(1)) {
    case 4:
    case 6:
        return 8;
    case 16:
        return partial.size() < 7 ? kNotYet : 9 + byteAt(6);
    case 100:
        return 7;
    case 101:
        return partial.size() < 5 ? kNotYet : 7 + byteAt(4);
    default:
        return kUnknown;
    }
}

QList<RtuFramer::Frame> RtuFramer::push(const QByteArray& bytes, std::int64_t nowUs) {
    QList<Frame> frames = idle(nowUs);
    for (char byte : bytes) {
        if (discarding)
            continue;
        partial.append(byte);
        const int expected = expectedLength(partial);
        if (expected > 0 && partial.size() == expected) {
            emitFrame(frames);
        } else if (partial.size() >= kMaxFrame) {
            // Longer than any frame: noise, or a request of a function nobody knows.
            partial.clear();
            discarding = true;
        }
    }
    if (!bytes.isEmpty())
        last_byte_us = nowUs;
    return frames;
}

QList<RtuFramer::Frame> RtuFramer::idle(std::int64_t nowUs) {
    QList<Frame> frames;
    const std::int64_t deadline = silenceDeadline();
    if (deadline >= 0 && nowUs >= deadline)
        finishBySilence(frames);
    return frames;
}

std::int64_t RtuFramer::silenceDeadline() const {
    if (partial.isEmpty() && !discarding)
        return -1;
    return last_byte_us + silence_us;
}

void RtuFramer::finishBySilence(QList<Frame>& frames) {
    if (!discarding && expectedLength(partial) == kUnknown && partial.size() >= kMinFrame)
        frames.append({partial, HasGoodCrc(partial)});
    // A frame of known length cut short by a silence is dropped: its rest will not come.
    partial.clear();
    discarding = false;
}

void RtuFramer::emitFrame(QList<Frame>& frames) {
    const bool ok = HasGoodCrc(partial);
    frames.append({partial, ok});
    partial.clear();
    // After a bad frame the byte boundaries are unknown; only a silence tells where the next
    // request begins.
    discarding = !ok;
}

#pragma once

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A broken invariant aborts like a sanitizer report: libFuzzer keeps the input, the replay fails.
[[noreturn]] inline void FuzzFailed(const char* condition, int line, const QByteArray& detail) {
    std::fprintf(stderr, "line %d: invariant broken: %s\n%s\n", line, condition, detail.data());
    std::abort();
}
#define FUZZ_CHECK(condition, ...)                                                                 \
    ((condition) ? void() : FuzzFailed(#condition, __LINE__, QByteArray(__VA_ARGS__)))

// A fuzz input read front to back, big-endian as on the wire; past its end every read gives
// zeros, so any input is a complete script.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}
    bool atEnd() const { return at >= size; }
    template <class T = std::uint8_t> T next() {
        std::uint32_t value = 0;
        for (std::size_t k = 0; k < sizeof(T); ++k)
            value = value << 8 | (at < size ? data[at++] : 0);
        return T(value);
    }
    QByteArray bytes(std::size_t count) { // fewer where the input ends
        const std::size_t n = count < size - at ? count : size - at;
        at += n;
        return QByteArray(reinterpret_cast<const char*>(data + at - n), qsizetype(n));
    }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
};

// Under TMPDIR, which the fuzz script points at memory.
inline QString ScratchDir() {
    static const QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/zarn-fuzz-XXXXXX"));
    FUZZ_CHECK(dir.isValid(), "no scratch folder under " + QDir::tempPath().toUtf8());
    return dir.path();
}

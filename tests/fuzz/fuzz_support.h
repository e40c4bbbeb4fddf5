#pragma once

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A broken invariant ends the run like a sanitizer report does, so libFuzzer keeps the input
// and the corpus replay fails. The detail is only worked out then.
[[noreturn]] inline void FuzzFailed(const char* condition, int line, const QByteArray& detail) {
    std::fprintf(stderr, "line %d: invariant broken: %s\n%s\n", line, condition, detail.data());
    std::abort();
}
#define FUZZ_CHECK(condition, ...)                                                                 \
    ((condition) ? void() : FuzzFailed(#condition, __LINE__, QByteArray(__VA_ARGS__)))

// Takes a fuzz input apart from front to back. Past its end every read gives zeros, so any
// input is a complete script.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}
    bool atEnd() const { return at >= size; }
    std::uint8_t byte() { return at < size ? data[at++] : 0; }
    // Big-endian, as on the wire.
    std::uint16_t u16() {
        const int high = byte();
        return std::uint16_t(high << 8 | byte());
    }
    std::int32_t s32() {
        const std::uint32_t high = u16();
        return std::int32_t(high << 16 | u16());
    }
    // The next `count` bytes, fewer where the input ends.
    QByteArray bytes(std::size_t count) {
        const std::size_t n = count < size - at ? count : size - at;
        at += n;
        return QByteArray(reinterpret_cast<const char*>(data + at - n), qsizetype(n));
    }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
};

// One folder per process for the files a target writes, removed when the process ends. It lies
// under TMPDIR, which the fuzz script points at memory: every save is flushed to disk.
inline QString ScratchDir() {
    static const QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/zarn-fuzz-XXXXXX"));
    FUZZ_CHECK(dir.isValid(), "no scratch folder under " + QDir::tempPath().toUtf8());
    return dir.path();
}

#pragma once

#include <QByteArray>
#include <cstdio>
#include <cstdlib>

// A broken invariant ends the run like a sanitizer report does, so libFuzzer keeps the input.
[[noreturn]] inline void FuzzFailed(const char* condition, const char* file, int line,
                                    const QByteArray& detail) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n%s\n", file, line, condition,
                 detail.constData());
    std::abort();
}

#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            FuzzFailed(#condition, __FILE__, __LINE__, QByteArray(detail));                        \
    } while (false)

#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

// One folder per fuzzing process for the files a target writes, removed when the process ends.
// It lies under TMPDIR, which the fuzz script points at memory where it can: every save is
// flushed to disk before it replaces a file.
inline QString ScratchDir() {
    static const QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/zarn-fuzz-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "no scratch folder under %s\n", qPrintable(QDir::tempPath()));
        std::abort();
    }
    return dir.path();
}

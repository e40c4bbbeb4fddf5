#pragma once

#include <QFile>
#include <QtTest>

// Whole-file reads and writes for tests that check what ends up on disk. A file that cannot be
// read reads as empty; a write that cannot complete fails the calling test.
inline QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteFileBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

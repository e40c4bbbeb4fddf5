// The INI reader and writer on any file: the input is the file's bytes. The file is written to a
// scratch folder, read, changed three times through WriteIniValue (an existing key replaced, a
// key added to an existing section, a key added under a new or given section) and read again
// after each change. Every value not written keeps reading the same, the written value reads back
// with the profile rules applied, and every line not replaced is kept byte for byte.

#include "config/ini_file.h"
#include "files/ini_document.h"
#include "fuzz_check.h"
#include "fuzz_scratch_dir.h"
#include "profile_read_back.h"

#include <QFile>
#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>

namespace {

const char* const kCodePage = "windows-1251";
// Longer than any value a read can return, so never mistaken for one.
const QString kAbsent(300, QChar(0x1));
constexpr int kMaxNames = 200;

const QStringList& Values() {
    static const QStringList values{
        QStringLiteral("12,5 "),        QString(),
        QStringLiteral("  padded  "),   QStringLiteral("\"quoted\""),
        QStringLiteral("'single'"),     QStringLiteral("\"open"),
        QStringLiteral("two\r\nlines"), QStringLiteral("Значение ЗАРН"),
        QStringLiteral("a=b;c [d]"),    QString(300, QChar('x')),
        QStringLiteral("default"),      QStringLiteral("\t tab\t"),
    };
    return values;
}

struct Name {
    QString section;
    QString key;
};

QString Decode(QByteArrayView bytes) {
    return QStringDecoder(kCodePage).decode(bytes);
}

QByteArray Encode(const QString& text) {
    return QStringEncoder(kCodePage).encode(text);
}

QList<QByteArray> Lines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    for (qsizetype start = 0; start < bytes.size();) {
        const qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        lines.append(bytes.sliced(start, next - start));
        start = next;
    }
    return lines;
}

// The sections and keys of a file found the simple way: what a section line brackets and what
// stands before the "=" of a key line.
struct Names {
    QStringList sections;
    QList<Name> keys;
};

Names NamesIn(const QByteArray& bytes) {
    Names names;
    QString section;
    for (const QByteArray& line : Lines(bytes)) {
        const QByteArray text = line.trimmed();
        if (text.isEmpty() || text.front() == ';')
            continue;
        if (text.front() == '[') {
            const qsizetype close = text.indexOf(']');
            section = Decode(close < 0 ? text.sliced(1) : text.sliced(1, close - 1));
            names.sections.append(section);
        } else if (!names.sections.isEmpty() && text.contains('=') &&
                   names.keys.size() < kMaxNames) {
            names.keys.append({section, Decode(text.first(text.indexOf('=')))});
        }
    }
    return names;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly), path.toUtf8());
    return file.readAll();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                   file.write(bytes) == bytes.size(),
               path.toUtf8());
}

QByteArray Describe(const QByteArray& before, const QString& section, const QString& key,
                    const QString& value) {
    return "[" + section.toUtf8() + "] " + key.toUtf8() + "=" + value.toUtf8() + " into:\n" +
           before.toHex(' ');
}

bool SameLine(const QByteArray& original, const QByteArray& written, bool last) {
    if (original == written)
        return true;
    // A last line without line end gets one when something is written behind it.
    return last && !original.endsWith('\n') &&
           (written == original + "\r\n" ||
            (original.endsWith('\r') && written == original + '\n'));
}

// The lines of `after` are those of `before`, with the key's line replaced when it existed, or
// with the key's line (and its section's header) inserted when it did not.
bool LinesKept(const QByteArray& before, const QByteArray& after, const QString& section,
               const QString& key, const QString& value, bool existed) {
    const QList<QByteArray> old = Lines(before);
    const QList<QByteArray> now = Lines(after);
    QString oneLine = value;
    oneLine.replace(QChar('\r'), QChar(' ')).replace(QChar('\n'), QChar(' '));
    const QByteArray keyLine = Encode(key) + '=' + Encode(oneLine) + "\r\n";
    const QByteArray header = '[' + Encode(section) + "]\r\n";

    if (existed) {
        if (old.size() != now.size())
            return false;
        int changed = 0;
        for (qsizetype i = 0; i < old.size(); ++i)
            if (old[i] != now[i] && (now[i] != keyLine || ++changed > 1))
                return false;
        return true;
    }
    qsizetype i = 0;
    qsizetype j = 0;
    bool keyInserted = false;
    bool headerInserted = false;
    while (i < old.size() || j < now.size()) {
        if (i < old.size() && j < now.size() && SameLine(old[i], now[j], i + 1 == old.size())) {
            ++i;
            ++j;
        } else if (j < now.size() && now[j] == keyLine && !keyInserted) {
            keyInserted = true;
            ++j;
        } else if (j < now.size() && now[j] == header && !headerInserted && !keyInserted) {
            headerInserted = true;
            ++j;
        } else {
            return false;
        }
    }
    return keyInserted;
}

void WriteAndCheck(const QString& path, const QString& section, const QString& key,
                   const QString& value) {
    const QByteArray before = ReadFile(path);
    IniDocument original;
    original.load(path);
    FUZZ_CHECK(original.bytes() == before, "an unchanged document wrote other bytes:\n" +
                                               before.toHex(' ') + "\n" +
                                               original.bytes().toHex(' '));
    const Names names = NamesIn(before);
    QStringList values;
    for (const Name& name : names.keys)
        values.append(original.value(name.section, name.key, kAbsent));
    const bool existed = original.value(section, key, kAbsent) != kAbsent;

    FUZZ_CHECK(WriteIniValue(path, section, key, value), Describe(before, section, key, value));

    const QByteArray after = ReadFile(path);
    FUZZ_CHECK(LinesKept(before, after, section, key, value, existed),
               Describe(before, section, key, value) + "\ngave:\n" + after.toHex(' '));
    const QString readBack = ReadIniValue(path, section, key, kAbsent);
    FUZZ_CHECK(readBack == ProfileReadBack(value),
               Describe(before, section, key, value) + "\nread back: " + readBack.toUtf8());
    IniDocument changed;
    changed.load(path);
    const auto same = [](const QString& a, const QString& b) {
        return a.trimmed().toCaseFolded() == b.trimmed().toCaseFolded();
    };
    for (qsizetype n = 0; n < names.keys.size(); ++n) {
        const Name& name = names.keys[n];
        if (same(name.section, section) && same(name.key, key))
            continue;
        FUZZ_CHECK(changed.value(name.section, name.key, kAbsent) == values[n],
                   Describe(before, section, key, value) + "\nchanged [" + name.section.toUtf8() +
                       "] " + name.key.toUtf8());
    }
}

std::uint32_t Fingerprint(const std::uint8_t* data, std::size_t size) {
    std::uint32_t h = 2166136261u;
    for (std::size_t i = 0; i < size; ++i)
        h = (h ^ data[i]) * 16777619u;
    return h;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = ScratchDir() + QStringLiteral("/fuzz.ini");
    WriteFile(path, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    // Which keys and values are written depends on the file, so that the fuzzer steers it too.
    const std::uint32_t h = Fingerprint(data, size);
    const QStringList& values = Values();

    const Names names = NamesIn(ReadFile(path));
    if (!names.keys.isEmpty()) {
        const Name& name = names.keys[h % names.keys.size()];
        WriteAndCheck(path, name.section, name.key, values[h % values.size()]);
    }
    if (!names.sections.isEmpty())
        WriteAndCheck(path, names.sections[(h >> 8) % names.sections.size()],
                      QStringLiteral("Добавлен"), values[(h >> 4) % values.size()]);
    WriteAndCheck(path, (h >> 16) & 1 ? QStringLiteral("Parameters") : QStringLiteral("Новый"),
                  QStringLiteral("PAR") + QString::number((h >> 17) % 506),
                  values[(h >> 12) % values.size()]);
    return 0;
}

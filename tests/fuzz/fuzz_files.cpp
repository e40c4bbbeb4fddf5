// The file and text readers on any input; the first byte picks what the rest is:
//  0  an INI file, changed through WriteIniValue three times (an existing key, a key added to an
//     existing section, a key under a new or given section): every line not replaced is kept
//     byte for byte, other values read as before, the written one reads back by profile rules;
//  1  a parameter file, compared and read: no message for a file that exists, each box shows
//     the file's text or its own, in the colour its key calls for;
//  2  a number text, converted for every width, sign and factor of the catalogue: the result
//     lies in the range and is the number divided by the factor, rounded.

#include "config/ini_file.h"
#include "files/ini_document.h"
#include "files/parameter_file.h"
#include "files/value_text.h"
#include "fuzz_support.h"
#include "memory_param_boxes.h"
#include "recording_host.h"
#include "scripted_messages.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>

namespace {

const QString kAbsent(300, QChar(0x1)); // longer than any value a read returns
const QString kMissing = QStringLiteral("default");

QString Decode(QByteArrayView b) {
    return QStringDecoder("windows-1251").decode(b);
}
QByteArray Encode(const QString& t) {
    return QStringEncoder("windows-1251").encode(t);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly), path.toUtf8());
    return file.readAll();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), path.toUtf8());
}

// A written value as the profile functions return it on the next read: on one line, outer
// blanks trimmed, matching quotes removed, at most 254 characters.
QString ProfileReadBack(QString value) {
    const auto blank = [](QChar c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    value.replace(QChar('\r'), QChar(' ')).replace(QChar('\n'), QChar(' '));
    while (!value.isEmpty() && blank(value.front()))
        value.remove(0, 1);
    while (!value.isEmpty() && blank(value.back()))
        value.chop(1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value.left(IniDocument::max_value_length);
}

// Sections, and keys with their section, found the simple way: what a section line brackets,
// what stands before the "=" of a key line.
QList<QStringList> NamesIn(const QByteArray& bytes, QStringList& sections) {
    QList<QStringList> keys;
    for (const QByteArray& line : bytes.split('\n')) {
        const QByteArray text = line.trimmed();
        const qsizetype close = text.indexOf(']');
        if (text.startsWith('['))
            sections.append(Decode(close < 0 ? text.sliced(1) : text.sliced(1, close - 1)));
        else if (!sections.isEmpty() && !text.startsWith(';') && text.contains('=') &&
                 keys.size() < 200)
            keys.append({sections.back(), Decode(text.first(text.indexOf('=')))});
    }
    return keys;
}

// The lines of `after` are those of `before`, with the key's line replaced, or inserted with
// its section's header. A last line without line end gets one when something follows it.
bool LinesKept(const QByteArray& before, const QByteArray& after, const QByteArray& keyLine,
               const QByteArray& header, bool existed) {
    const auto lines = [](QByteArray b) {
        if (!b.isEmpty() && !b.endsWith('\n'))
            b += b.endsWith('\r') ? "\n" : "\r\n";
        return b.split('\n');
    };
    const QList<QByteArray> old = lines(before);
    QList<QByteArray> now = lines(after);
    int changed = 0;
    for (qsizetype i = 0; existed && i < old.size() && old.size() == now.size(); ++i)
        changed += old[i] == now[i] ? 0 : now[i] == keyLine ? 1 : 2;
    if (existed)
        return old.size() == now.size() && changed <= 1;
    return now.removeOne(keyLine) &&
           (now.count(header) == old.count(header) || now.removeOne(header)) && now == old;
}

void WriteAndCheck(const QString& path, const QString& section, const QString& key,
                   const QString& value) {
    const QByteArray before = ReadFile(path);
    const auto what = [&] {
        return "[" + section.toUtf8() + "] " + key.toUtf8() + "=" + value.toUtf8() + " into " +
               before.toHex(' ');
    };
    IniDocument original;
    original.load(path);
    FUZZ_CHECK(original.bytes() == before, "unchanged, but wrote " + original.bytes().toHex(' '));
    QStringList sections, values;
    const QList<QStringList> names = NamesIn(before, sections);
    for (const QStringList& name : names)
        values.append(original.value(name[0], name[1], kAbsent));
    const bool existed = original.value(section, key, kAbsent) != kAbsent;

    FUZZ_CHECK(WriteIniValue(path, section, key, value), what());
    const QByteArray after = ReadFile(path);
    const QString oneLine = QString(value).replace('\r', ' ').replace('\n', ' ');
    FUZZ_CHECK(LinesKept(before, after, Encode(key) + '=' + Encode(oneLine) + '\r',
                         '[' + Encode(section) + "]\r", existed),
               what() + " gave " + after.toHex(' '));
    FUZZ_CHECK(ReadIniValue(path, section, key, kAbsent) == ProfileReadBack(value), what());
    IniDocument changed;
    changed.load(path);
    const auto same = [](const QString& a, const QString& b) {
        return a.trimmed().toCaseFolded() == b.trimmed().toCaseFolded();
    };
    for (qsizetype n = 0; n < names.size(); ++n)
        FUZZ_CHECK((same(names[n][0], section) && same(names[n][1], key)) ||
                       changed.value(names[n][0], names[n][1], kAbsent) == values[n],
                   what() + " changed [" + names[n].join("] ").toUtf8());
}

void IniFile(const QByteArray& content) {
    static const QStringList values =
        QString("12,5 ||  padded  |\"quoted\"|'single'|\"open|two\r\nlines|Значение ЗАРН|a=b;c [d]|"
                "default|\t tab\t")
            .split('|')
        << QString(300, 'x');
    const QString path = ScratchDir() + QStringLiteral("/fuzz.ini");
    WriteFile(path, content);
    // Which keys and values are written depends on the file, so that the fuzzer steers it too.
    const std::size_t h = qHash(content);
    QStringList sections;
    const QList<QStringList> names = NamesIn(content, sections);
    if (!names.isEmpty())
        WriteAndCheck(path, names[h % names.size()][0], names[h % names.size()][1],
                      values[h % values.size()]);
    if (!sections.isEmpty())
        WriteAndCheck(path, sections[(h >> 8) % sections.size()], "Добавлен",
                      values[(h >> 4) % values.size()]);
    WriteAndCheck(path, (h >> 16) & 1 ? "Parameters" : "Новый",
                  "PAR" + QString::number((h >> 17) % 506), values[(h >> 12) % values.size()]);
}

// Every box shows its text in the colour `state` gives it, and no message came but `asked`.
void CheckWindow(const MemoryParamBoxes& boxes, const ScriptedMessages& messages, qsizetype asked,
                 const std::array<QString, kParamCount>& texts,
                 const std::function<BoxState(int)>& state) {
    FUZZ_CHECK(messages.shown.size() == asked,
               QByteArray::number(messages.shown.size()) + " messages");
    for (int i = 0; i < kParamCount; ++i)
        FUZZ_CHECK(boxes.texts[i] == texts[i] && boxes.states[i] == state(i),
                   "box " + QByteArray::number(i) + ": " + boxes.texts[i].toUtf8());
}

void ParameterFile(const QByteArray& content) {
    const QString folder = ScratchDir();
    const QString name = QStringLiteral("p.ini");
    WriteFile(ParamFilePath(folder, name), content);
    IniDocument document;
    document.load(ParamFilePath(folder, name));
    std::array<QString, kParamCount> file, texts;
    MemoryParamBoxes boxes;
    RecordingHost status;
    ScriptedMessages messages;
    for (int i = 0; i < kParamCount; ++i) {
        file[i] = document.value(ParamFileSection(), ParamFileKey(i), kMissing);
        // Texts as the window shows them after a read from the controller, and empty boxes.
        texts[i] = boxes.texts[i] = i % 50 == 9 ? QString()
                                    : i % 3     ? QString::number(i * 7)
                                                : QString::number(i) + ",5 ";
    }
    CompareParameterFile({boxes, status, messages}, folder, name);
    CheckWindow(boxes, messages, 0, texts, [&](int i) {
        return file[i] == kMissing                                     ? BoxState::MissingInFile
               : ParseNumberText(file[i]) == ParseNumberText(texts[i]) ? BoxState::MatchesFile
                                                                       : BoxState::DiffersFromFile;
    });
    ReadParameterFile({boxes, status, messages}, folder, name);
    for (int i = 0; i < kParamCount; ++i)
        texts[i] = file[i] == kMissing ? texts[i] : file[i];
    CheckWindow(boxes, messages, 0, texts, [&](int i) {
        return file[i] == kMissing ? BoxState::MissingInFile : BoxState::FromFile;
    });

    FUZZ_CHECK(status.status.isEmpty(), status.status.toUtf8());
}

// The result lies in the range and is the number divided by the factor, halves away from
// zero; the 15 significant digits RoundToWhole works with may move a value near a half by one.
void Convert(const QString& text, double number, int min, int max, double factor) {
    const std::int32_t r = TextToValue(text, min, max, factor);
    const double expected = std::clamp(std::round(number / factor), double(min), double(max));
    FUZZ_CHECK(r >= min && r <= max &&
                   (!std::isfinite(number / factor) || std::fabs(r - expected) <= 1),
               "\"" + text.toUtf8() + "\" / " + QByteArray::number(factor) + " gave " +
                   QByteArray::number(r));
}

void NumberText(const QString& text) {
    const double number = ParseNumberText(text);
    const auto same = [number](double x) {
        return x == number || (std::isnan(x) && std::isnan(number));
    };
    // Blanks count nowhere, and "%" ends the number.
    FUZZ_CHECK(same(ParseNumberText(text + ' ')) && same(ParseNumberText(text + "%,5")),
               text.toUtf8());
    for (const int size : {1, 2})
        for (const double scale : {1.0, 10.0, 6.0, 0.1, -1.0, -0.1, -0.01}) {
            const ValueRange range = RangeFor(size, scale);
            Convert(text, number, range.min, range.max, range.factor);
        }
    Convert(text, number, 0, 127, 1); // the controller's own address
}

void NumberTexts(const QByteArray& bytes) {
    NumberText(QString::fromUtf8(bytes));
    // Texts no UTF-8 decoder would produce: lone surrogates, NULs, any code unit.
    QString units(bytes.size() / 2, Qt::Uninitialized);
    std::memcpy(units.data(), bytes.data(), units.size() * sizeof(QChar));
    NumberText(units);
    double x = 0;
    if (bytes.size() < qsizetype(sizeof x))
        return;
    std::memcpy(&x, bytes.data(), sizeof x);
    const double expected =
        std::isnan(x) ? 0 : std::clamp(std::round(x), -2147483648.0, 2147483647.0);
    FUZZ_CHECK(std::fabs(RoundToWhole(x) - expected) <= 1, QByteArray::number(x, 'g', 17));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    void (*const areas[])(const QByteArray&) = {IniFile, ParameterFile, NumberTexts};
    if (size > 0)
        areas[data[0] % 3](
            QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)));
    return 0;
}

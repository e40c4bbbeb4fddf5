// The file and text readers on any input; the first byte picks what the rest is:
//  0  an INI file, changed through WriteIniValue three times (an existing key, a key added to an
//     existing section, a key under a new or given section): every line not replaced is kept
//     byte for byte, other values read as before, the written one reads back by profile rules;
//  1  a parameter file, compared and read: each box shows the file's text or its own, in the
//     colour its key calls for, and no message comes unless the file is no text;
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
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

const QString kAbsent(300, QChar(0x1)); // longer than any value a read returns
const QString kMissing = QStringLiteral("default");

QString Decode(QByteArrayView b) {
    return QStringDecoder("windows-1251").decode(b);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
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

void WriteAndCheck(const QString& path, const QString& section, const QString& key,
                   const QString& value) {
    const QByteArray before = ReadFile(path);
    IniDocument original;
    original.load(path);
    FUZZ_CHECK(original.bytes() == before);
    QStringList sections, values;
    const QList<QStringList> names = NamesIn(before, sections);
    for (const QStringList& name : names)
        values.append(original.value(name[0], name[1], kAbsent));
    const bool existed = original.value(section, key, kAbsent) != kAbsent;

    FUZZ_CHECK(WriteIniValue(path, section, key, value));
    // Every line is kept byte for byte but the replaced one, and a last line without line end,
    // which gets one; at most a key line and a section header are new.
    const QByteArray after = ReadFile(path);
    QList<QByteArray> added = after.split('\n');
    qsizetype lost = 0;
    for (const QByteArray& line : before.split('\n'))
        lost += added.removeOne(line) ? 0 : 1;
    const bool unended = !before.endsWith('\n');
    FUZZ_CHECK(lost <= existed + unended && added.size() <= 2 + lost + unended, after.toHex(' '));
    // The written value reads back as the profile functions return it: on one line, outer
    // blanks trimmed, matching quotes removed, at most 254 characters; other values as before.
    QString expected = QString(value).replace('\r', ' ').replace('\n', ' ').trimmed();
    if (expected.size() >= 2 && (expected[0] == '"' || expected[0] == '\'') &&
        expected.back() == expected[0])
        expected = expected.mid(1, expected.size() - 2);
    FUZZ_CHECK(ReadIniValue(path, section, key, kAbsent) == expected.left(254));
    IniDocument changed;
    changed.load(path);
    const auto same = [](const QString& a, const QString& b) {
        return a.trimmed().toCaseFolded() == b.trimmed().toCaseFolded();
    };
    for (qsizetype n = 0; n < names.size(); ++n)
        FUZZ_CHECK((same(names[n][0], section) && same(names[n][1], key)) ||
                   changed.value(names[n][0], names[n][1], kAbsent) == values[n]);
}

void IniFile(const QByteArray& content) {
    static const QStringList values =
        QString("12,5 ||  padded  |\"quoted\"|'single'|\"open|two\r\nlines|"
                "Значение ЗАРН|a=b;c [d]|default|\t tab\t|" +
                QString(300, 'x'))
            .split('|');
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

// A parameter file compared, then read: each box shows the file's text or its own, in the colour
// its key calls for. Without a byte-order mark a text file holds no NUL: such a file is refused
// with the read-error box, and nothing changes.
void ParameterFile(const QByteArray& content) {
    const QString path = ParamFilePath(ScratchDir(), "p.ini");
    WriteFile(path, content);
    IniDocument document;
    const bool refused = document.load(path) == IniDocument::LoadStatus::NotText;
    MemoryParamBoxes boxes;
    RecordingHost status;
    ScriptedMessages messages;
    // Texts as the window shows them after a read from the controller, and empty boxes.
    for (int i = 0; i < kParamCount; ++i)
        boxes.texts[i] = i % 50 == 9 ? QString() : QString::number(i * 7) + (i % 3 ? "" : ",5 ");
    const std::array<QString, kParamCount> texts = boxes.texts;
    for (const bool read : {false, true}) {
        (read ? ReadParameterFile : CompareParameterFile)({boxes, status, messages}, ScratchDir(),
                                                          "p.ini");
        FUZZ_CHECK(messages.shown.size() == (read + 1) * refused);
        for (int i = 0; i < kParamCount; ++i) {
            const QString file = document.value(ParamFileSection(), ParamFileKey(i), kMissing);
            const BoxState state = file == kMissing ? BoxState::MissingInFile
                                   : read           ? BoxState::FromFile
                                   : ParseNumberText(file) == ParseNumberText(texts[i])
                                       ? BoxState::MatchesFile
                                       : BoxState::DiffersFromFile;
            FUZZ_CHECK(refused ? !boxes.states[i] && boxes.texts[i] == texts[i]
                               : boxes.states[i] == state &&
                                     boxes.texts[i] == (read && file != kMissing ? file : texts[i]),
                       "box " + QByteArray::number(i) + ": " + boxes.texts[i].toUtf8());
        }
    }
    FUZZ_CHECK(refused || status.status.isEmpty());
}

// A number text converted for every width, sign and factor of the catalogue, and for the own
// address: the result lies in the range and is the number divided by the factor, halves away
// from zero (the 15 significant digits RoundToWhole works with may move a value near a half by
// one). Blanks count nowhere, and "%" ends the number.
void NumberText(const QString& text) {
    const double number = ParseNumberText(text);
    for (const QString& same : {text + ' ', text + "%,5"})
        FUZZ_CHECK(ParseNumberText(same) == number ||
                   (std::isnan(number) && std::isnan(ParseNumberText(same))));
    QList<ValueRange> ranges{{0, 127, 1}};
    for (const int size : {1, 2})
        for (const double scale : {1.0, 10.0, 6.0, 0.1, -1.0, -0.1, -0.01})
            ranges << RangeFor(size, scale);
    for (const auto& [min, max, factor] : ranges) {
        const std::int32_t r = TextToValue(text, min, max, factor);
        const double expected = std::clamp(std::round(number / factor), double(min), double(max));
        FUZZ_CHECK(r >= min && r <= max &&
                       (!std::isfinite(number / factor) || std::fabs(r - expected) <= 1),
                   text.toUtf8() + " / " + QByteArray::number(factor) + " gave " +
                       QByteArray::number(r));
    }
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

// The file readers on any input; the first byte modulo 3 picks what the rest is: 0 an INI file
// changed through WriteIniValue three times, 1 a parameter file compared, read and saved over,
// 2 a traffic log, a journal file or a recording opened (after the header of the first two, or
// none, as the next byte picks).

#include "disk/ini_document.h"
#include "disk/ini_file.h"
#include "file_bytes.h"
#include "files/parameter_file.h"
#include "fuzz_support.h"
#include "history/journal_file_reader.h"
#include "history/recording_file.h"
#include "params/memory_param_boxes.h"
#include "params/param_values.h"
#include "recording_host.h"
#include "scripted_messages.h"
#include "traffic/traffic_log_reader.h"

#include <QStringDecoder>
#include <array>
#include <optional>
#include <utility>

namespace {

const QString kAbsent(300, QChar(0x1)), kMissing = "default"; // kAbsent: longer than any value

// As a profile read gives it back: one line, trimmed of ASCII blanks (a no-break space is kept,
// as by the profile functions), matching quotes removed, 254 at most.
QString ReadBack(QString v) {
    v = v.replace('\r', ' ').replace('\n', ' ');
    const auto blank = [](QChar c) { return c.unicode() < 0x80 && c.isSpace(); };
    while (!v.isEmpty() && blank(v.back()))
        v.chop(1);
    while (!v.isEmpty() && blank(v.front()))
        v.remove(0, 1);
    if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0])
        v = v.mid(1, v.size() - 2);
    return v.left(254);
}

// Sections, and keys with their section, found the simple way.
QList<QStringList> NamesIn(const QByteArray& bytes, QStringList& sections) {
    QList<QStringList> keys;
    const auto decode = [](QByteArrayView b) -> QString {
        return QStringDecoder("windows-1251").decode(b); // converted while the decoder lives
    };
    for (const QByteArray& line : bytes.split('\n')) {
        const QByteArray text = line.trimmed();
        const qsizetype close = text.indexOf(']');
        if (text.startsWith('['))
            sections.append(decode(close < 0 ? text.sliced(1) : text.sliced(1, close - 1)));
        else if (!sections.isEmpty() && !text.startsWith(';') && text.contains('=') &&
                 keys.size() < 200)
            keys.append({sections.back(), decode(text.first(text.indexOf('=')))});
    }
    return keys;
}

// A file's lines as they are kept: a UTF-16 file's are its characters (here in UTF-8), any
// other file's its bytes.
std::optional<QByteArray> Utf16Text(const QByteArray& file) {
    for (const auto& [mark, encoding] : {std::pair{"\xFF\xFE", QStringConverter::Utf16LE},
                                         std::pair{"\xFE\xFF", QStringConverter::Utf16BE}})
        if (file.startsWith(mark))
            return QString(QStringDecoder(encoding).decode(file.sliced(2))).toUtf8();
    return std::nullopt;
}

// Every line is kept as it was but the replaced one and an unended last line (it gets its line
// end); at most a key line and a section header are new; the value reads back as written. Only
// a UTF-16 file whose bytes would not come back (an odd byte, a lone surrogate) is refused, and
// then left as it was.
void WriteAndCheck(const QString& path, const QString& section, const QString& key,
                   const QString& value) {
    const QByteArray file = FileBytes(path);
    const bool existed = ReadIniValue(path, section, key, kAbsent) != kAbsent;
    if (!WriteIniValue(path, section, key, value))
        return FUZZ_CHECK(Utf16Text(file) && FileBytes(path) == file, file.toHex(' '));
    const QByteArray before = Utf16Text(file).value_or(file);
    const QByteArray after = Utf16Text(FileBytes(path)).value_or(FileBytes(path));
    QList<QByteArray> added = after.split('\n');
    qsizetype lost = 0;
    for (const QByteArray& line : before.split('\n'))
        lost += added.removeOne(line) ? 0 : 1;
    const bool unended = !before.endsWith('\n');
    FUZZ_CHECK(lost <= existed + unended && added.size() <= 2 + lost + unended, after.toHex(' '));
    FUZZ_CHECK(ReadIniValue(path, section, key, kAbsent) == ReadBack(value));
}

// An existing key, a key added to an existing section, a key under a new or given section; which
// ones, and their values, follow from the file, so that the fuzzer steers them too.
void IniFile(const QByteArray& content) {
    static const QStringList values = QString("12,5 ||  padded  |\"quoted\"|'single'|\"open|two\r\n"
                                              "lines|Значение ЗАРН|a=b;c [d]|\t tab\t|" +
                                              QString(300, 'x'))
                                          .split('|');
    const QString path = ScratchDir() + QStringLiteral("/fuzz.ini");
    WriteFileBytes(path, content);
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

// Each box shows the file's text or its own, in the colour its key calls for; a file with NUL
// bytes and no byte-order mark is no text: refused with the read-error box, nothing changes.
// A save over the file writes it whole or leaves it as it was.
void ParameterFile(const QByteArray& content) {
    const QString path = ParamFilePath(ScratchDir(), "p.ini");
    WriteFileBytes(path, content);
    IniDocument document;
    const bool refused = document.load(path) == IniDocument::LoadStatus::NotText;
    MemoryParamBoxes boxes, back;
    RecordingHost status;
    ScriptedMessages messages;
    for (int i = 0; i < kParamCount; ++i) // as after a read from the controller, some empty
        boxes.texts[i] = i % 50 == 9 ? QString() : QString::number(i * 7) + (i % 3 ? "" : ",5 ");
    const std::array<QString, kParamCount> texts = boxes.texts;
    for (const bool read : {false, true}) {
        if (read)
            ReadParameterFile({boxes, status, messages}, ScratchDir(), "p.ini");
        else
            CompareParameterFile({boxes, status, messages}, ScratchDir(), "p.ini");
        FUZZ_CHECK(messages.shown.size() == (read + 1) * refused &&
                   (refused || status.status.isEmpty()));
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
    messages.answer(MessageAnswer::Ok); // replace it
    SaveParameterFile({boxes, status, messages}, ScratchDir(), "p.ini", [] {});
    ReadParameterFile({back, status, messages}, ScratchDir(), "p.ini");
    bool whole = true;
    for (int i = 0; i < kParamCount && whole; ++i)
        whole = back.states[i] == BoxState::FromFile && back.texts[i] == ReadBack(boxes.texts[i]);
    FUZZ_CHECK(whole || FileBytes(path) == content, FileBytes(path).toHex(' '));
}

// A recording read back: a refused file shows nothing, a read one at most a sample a line, in
// time order, and the message names at most ten lines.
void RecordingRows(const QByteArray& content) {
    const QString path = ScratchDir() + QStringLiteral("/r.csv");
    WriteFileBytes(path, content);
    const RecordingFile read(path);
    const EngineHistory& samples = read.history();
    FUZZ_CHECK(read.refusal().isEmpty() || samples.size() == 0);
    FUZZ_CHECK(samples.size() <= content.count('\n'));
    for (int i = 1; i < samples.size(); ++i)
        FUZZ_CHECK(samples.at(i - 1).wall_ms <= samples.at(i).wall_ms);
    FUZZ_CHECK(read.omissions().count(u',') <= 10, read.omissions().toUtf8());
}

// Every line after the header is read or counted unread, never both and never lost; rows and
// entries shown are the lines read, up to what the window keeps; a file whose first line is no
// header of the kind is refused with nothing shown.
void SessionFiles(const QByteArray& content) {
    const int kind = content.isEmpty() ? 2 : std::uint8_t(content[0]) % 4;
    if (kind == 3)
        return RecordingRows(content.mid(1));
    const QString path = ScratchDir() + QStringLiteral("/session.csv");
    const QByteArray headers[] = {CsvFileStart(traffic_text::kLogHeader),
                                  CsvFileStart(EventJournal::kHeader), QByteArray()};
    const QByteArray file = headers[kind] + content.mid(1);
    WriteFileBytes(path, file);
    qsizetype lines = 0;
    for (const QByteArray& line : file.split('\n'))
        lines += !line.isEmpty() && line != "\r";
    TrafficMonitor traffic(Catalogue(), u',', kOpenedLogRows);
    EventJournal journal;
    const CsvReadOutcome readAs[] = {ReadTrafficLog(path, traffic), ReadJournalFile(path, journal)};
    const int shown[] = {traffic.rows().rowCount(), static_cast<int>(journal.entries().size())};
    for (int kind = 0; kind < 2; ++kind) {
        const CsvReadOutcome& read = readAs[kind];
        FUZZ_CHECK(read.refusal.isEmpty()
                       ? read.read + read.unread <= lines - 1 && shown[kind] == read.read &&
                             read.first_unread.size() ==
                                 std::min(read.unread, CsvReadOutcome::kNamedLines)
                       : read.read + read.unread + shown[kind] == 0,
                   read.refusal.toUtf8() + " " + read.unreadText().toUtf8());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    void (*const areas[])(const QByteArray&) = {IniFile, ParameterFile, SessionFiles};
    if (size > 0)
        areas[data[0] % 3](
            QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)));
    return 0;
}

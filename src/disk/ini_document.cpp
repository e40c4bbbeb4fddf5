#include "disk/ini_document.h"

#include "disk/whole_file_write.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace {

// The files are shared with Windows machines running the Russian ANSI code page. Qt reaches
// Windows-1251 through ICU; a Qt built without ICU falls back to Latin-1, which still passes
// every byte through unchanged.
const char* const kCodePage = "windows-1251";

QString Decode(QByteArrayView bytes, bool utf8) {
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    if (utf8)
        return QString::fromUtf8(bytes);
    QStringDecoder decoder(kCodePage);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

QByteArray Encode(const QString& text, bool utf8) {
    if (utf8)
        return text.toUtf8();
    QStringEncoder encoder(kCodePage);
    if (!encoder.isValid())
        return text.toLatin1();
    return encoder.encode(text);
}

const QByteArray kUtf8Mark("\xEF\xBB\xBF");
const QByteArray kUtf16LeMark("\xFF\xFE");
const QByteArray kUtf16BeMark("\xFE\xFF");

// Files saved as "Unicode" by Windows editors start with a byte-order mark, and the profile
// functions read them as such. Their text is held as UTF-8 here, so the line rules stay the
// same for every encoding, and goes back to the file's own encoding when written.
// `lossless` turns false when the text would not come back as the same bytes (an odd byte at
// the end, a broken surrogate pair): such a file must never be written back.
IniDocument::Encoding TakeByteOrderMark(QByteArray& data, bool& lossless) {
    lossless = true;
    if (data.startsWith(kUtf8Mark)) {
        data.remove(0, kUtf8Mark.size());
        return IniDocument::Encoding::Utf8;
    }
    const bool little = data.startsWith(kUtf16LeMark);
    if (!little && !data.startsWith(kUtf16BeMark))
        return IniDocument::Encoding::Ansi;
    const auto encoding = little ? QStringConverter::Utf16LE : QStringConverter::Utf16BE;
    const QByteArrayView units = QByteArrayView(data).sliced(2);
    const QString text = QStringDecoder(encoding).decode(units);
    lossless = QByteArray(QStringEncoder(encoding).encode(text)) == units;
    data = text.toUtf8();
    return little ? IniDocument::Encoding::Utf16Le : IniDocument::Encoding::Utf16Be;
}

QString Folded(const QString& name) {
    return name.trimmed().toCaseFolded();
}

// Names from the file are trimmed as text, like the names asked for: a no-break space (0xA0 in
// the code page) trimmed on one side only would make a written key unreadable.
QString Folded(QByteArrayView name, bool utf8) {
    return Folded(Decode(name, utf8));
}

// Sections and keys share one table; no name read from a file holds a line feed.
QString LookupName(const QString& section, const QString& key) {
    return Folded(section) + QChar('\n') + Folded(key);
}

// What follows the first "=" of a key line, as the profile functions return it.
QString ValueOfLine(QByteArrayView line, bool utf8) {
    QByteArrayView value = line.sliced(line.indexOf('=') + 1).trimmed();
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    // A character takes at most four bytes, so a huge line costs no more than a short one.
    const qsizetype enough = 4 * IniDocument::kMaxValueLength;
    return Decode(value.first(std::min(value.size(), enough)), utf8)
        .left(IniDocument::kMaxValueLength);
}

QByteArray KeyLine(const QString& key, QString value, bool utf8) {
    value.replace(QChar('\r'), QChar(' ')).replace(QChar('\n'), QChar(' '));
    return Encode(key, utf8) + '=' + Encode(value, utf8) + "\r\n";
}

QByteArray InFileEncoding(const QByteArray& text, IniDocument::Encoding encoding) {
    switch (encoding) {
    case IniDocument::Encoding::Ansi:
        return text;
    case IniDocument::Encoding::Utf8:
        return kUtf8Mark + text;
    case IniDocument::Encoding::Utf16Le:
        return kUtf16LeMark +
               QStringEncoder(QStringConverter::Utf16LE).encode(QString::fromUtf8(text));
    case IniDocument::Encoding::Utf16Be:
        return kUtf16BeMark +
               QStringEncoder(QStringConverter::Utf16BE).encode(QString::fromUtf8(text));
    }
    return text;
}

} // namespace

IniDocument::LoadStatus IniDocument::load(const QString& path) {
    *this = IniDocument();
    LoadStatus status = LoadStatus::Loaded;
    const QFileInfo info(path);
    // Only ordinary files are opened: a FIFO or a device under the name would block or never end.
    if (!info.exists()) {
        status = LoadStatus::Missing;
    } else if (!info.isFile()) {
        status = LoadStatus::Unreadable;
    } else {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            status = LoadStatus::Unreadable;
        } else {
            // Sized by the file: a read of kMaxSize + 1 reserves a megabyte for every small file.
            content = file.read(std::min<qint64>(file.size(), kMaxSize) + 1);
            const bool tooLarge = content.size() > kMaxSize;
            content.truncate(std::min(content.size(), kMaxSize));
            bool lossless = true;
            file_encoding = TakeByteOrderMark(content, lossless);
            read_only = tooLarge || !lossless;
            // Without a byte-order mark a text file holds no NUL. Such a file still reads as the
            // profile functions read it; the caller decides whether it wants it.
            const bool notText = file_encoding == Encoding::Ansi && content.contains('\0');
            if (tooLarge) {
                status = LoadStatus::TooLarge;
                content.truncate(content.lastIndexOf('\n') + 1);
            }
            if (notText)
                status = LoadStatus::NotText;
        }
    }
    parse();
    return status;
}

void IniDocument::parse() {
    int section = -1;
    QString section_name;
    for (qsizetype start = 0; start < content.size();) {
        const qsizetype end = content.indexOf('\n', start);
        const qsizetype next = end < 0 ? content.size() : end + 1;
        const int line = int(line_starts.size());
        line_starts.push_back(start);
        const QByteArrayView text = QByteArrayView(content).sliced(start, next - start).trimmed();
        start = next;
        if (text.isEmpty() || text.front() == ';')
            continue;
        if (text.front() == '[') {
            const qsizetype close = text.indexOf(']');
            section_name = Folded(close < 0 ? text.sliced(1) : text.sliced(1, close - 1), utf8());
            section = int(section_list.size());
            section_list.push_back(Section{{}, line, {}});
            // Of two sections with one name, new keys go to the first.
            if (!section_index.contains(section_name))
                section_index.insert(section_name, section);
            continue;
        }
        // Lines before the first section belong to no section, as on Windows.
        if (section < 0)
            continue;
        section_list[section].last_content_line = line;
        const qsizetype equals = text.indexOf('=');
        if (equals < 0)
            continue;
        // Of two keys with one name, the first one counts.
        const QString name = section_name + QChar('\n') + Folded(text.first(equals), utf8());
        if (!key_places.contains(name))
            key_places.insert(name, KeyPlace{line, section, -1});
    }
    line_starts.push_back(content.size());
}

QByteArrayView IniDocument::lineView(int line) const {
    return QByteArrayView(content).sliced(line_starts[line],
                                          line_starts[line + 1] - line_starts[line]);
}

QString IniDocument::value(const QString& section, const QString& key,
                           const QString& defaultValue) const {
    const auto place = key_places.constFind(LookupName(section, key));
    if (place == key_places.cend())
        return defaultValue;
    if (place->added >= 0)
        return ValueOfLine(section_list[place->section].added[place->added], utf8());
    const auto replacement = replaced.constFind(place->line);
    return ValueOfLine(replacement != replaced.cend() ? QByteArrayView(*replacement)
                                                      : lineView(place->line),
                       utf8());
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
    const QString name = LookupName(section, key);
    const QByteArray line = KeyLine(key, value, utf8());
    const auto place = key_places.constFind(name);
    if (place != key_places.cend()) {
        if (place->added >= 0)
            section_list[place->section].added[place->added] = line;
        else
            replaced.insert(place->line, line);
        return;
    }
    const QString section_name = Folded(section);
    auto owner = section_index.constFind(section_name);
    if (owner == section_index.cend()) {
        owner = section_index.insert(section_name, int(section_list.size()));
        section_list.push_back(Section{'[' + Encode(section, utf8()) + "]\r\n", -1, {}});
    }
    Section& target = section_list[*owner];
    key_places.insert(name, KeyPlace{-1, *owner, int(target.added.size())});
    target.added.push_back(line);
}

QByteArray IniDocument::bytes() const {
    QByteArray out;
    out.reserve(content.size() + 64);
    // A last line without line end gets one before anything is written behind it.
    const auto appendLine = [&out](QByteArrayView line) {
        if (out.endsWith('\r'))
            out += '\n';
        else if (!out.isEmpty() && !out.endsWith('\n'))
            out += "\r\n";
        out += line;
    };
    std::vector<const Section*> after_line(line_starts.size(), nullptr);
    for (const Section& section : section_list)
        if (section.new_header.isEmpty() && !section.added.empty())
            after_line[section.last_content_line] = &section;
    for (int line = 0; line + 1 < int(line_starts.size()); ++line) {
        const auto replacement = replaced.constFind(line);
        appendLine(replacement != replaced.cend() ? QByteArrayView(*replacement) : lineView(line));
        if (after_line[line])
            for (const QByteArray& added : after_line[line]->added)
                appendLine(added);
    }
    for (const Section& section : section_list) {
        if (section.new_header.isEmpty())
            continue;
        appendLine(section.new_header);
        for (const QByteArray& added : section.added)
            appendLine(added);
    }
    return InFileEncoding(out, file_encoding);
}

QString IniDocument::save(const QString& path) const {
    if (read_only)
        return QStringLiteral("файл слишком велик или повреждён");
    return WriteWholeFile(path, bytes());
}

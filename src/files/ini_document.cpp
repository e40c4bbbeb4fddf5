#include "files/ini_document.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// The files are shared with Windows machines running the Russian ANSI code page. Qt reaches
// Windows-1251 through ICU; a Qt built without ICU falls back to Latin-1, which still passes
// every byte through unchanged.
const char* const kCodePage = "windows-1251";

QString Decode(QByteArrayView bytes) {
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    QStringDecoder decoder(kCodePage);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

QByteArray Encode(const QString& text) {
    QStringEncoder encoder(kCodePage);
    if (!encoder.isValid())
        return text.toLatin1();
    return encoder.encode(text);
}

QString Folded(const QString& name) {
    return name.trimmed().toCaseFolded();
}

// Names from the file are trimmed as text, like the names asked for: a no-break space (0xA0 in
// the code page) trimmed on one side only would make a written key unreadable.
QString Folded(QByteArrayView name) {
    return Folded(Decode(name));
}

// Sections and keys share one table; no name read from a file holds a line feed.
QString LookupName(const QString& section, const QString& key) {
    return Folded(section) + QChar('\n') + Folded(key);
}

// What follows the first "=" of a key line, as the profile functions return it.
QString ValueOfLine(QByteArrayView line) {
    QByteArrayView value = line.sliced(line.indexOf('=') + 1).trimmed();
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    // One byte is one character in the code page, so the cut can happen before decoding.
    return Decode(value.first(std::min(value.size(), IniDocument::max_value_length)));
}

QByteArray KeyLine(const QString& key, QString value) {
    value.replace(QChar('\r'), QChar(' ')).replace(QChar('\n'), QChar(' '));
    return Encode(key) + '=' + Encode(value) + "\r\n";
}

bool SyncedToDisk(QFileDevice& file) {
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    Q_UNUSED(file);
    return true;
#endif
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
            // Sized by the file: a read of max_size + 1 reserves a megabyte for every small file.
            data_ = file.read(std::min<qint64>(file.size(), max_size) + 1);
            if (data_.size() > max_size) {
                status = LoadStatus::TooLarge;
                cut_ = true;
                data_.truncate(data_.lastIndexOf('\n', max_size - 1) + 1);
            }
        }
    }
    parse();
    return status;
}

void IniDocument::parse() {
    int section = -1;
    QString section_name;
    for (qsizetype start = 0; start < data_.size();) {
        const qsizetype end = data_.indexOf('\n', start);
        const qsizetype next = end < 0 ? data_.size() : end + 1;
        const int line = int(line_starts_.size());
        line_starts_.push_back(start);
        const QByteArrayView text = QByteArrayView(data_).sliced(start, next - start).trimmed();
        start = next;
        if (text.isEmpty() || text.front() == ';')
            continue;
        if (text.front() == '[') {
            const qsizetype close = text.indexOf(']');
            section_name = Folded(close < 0 ? text.sliced(1) : text.sliced(1, close - 1));
            section = int(sections_.size());
            sections_.push_back(Section{{}, line, {}});
            // Of two sections with one name, new keys go to the first.
            if (!section_index_.contains(section_name))
                section_index_.insert(section_name, section);
            continue;
        }
        // Lines before the first section belong to no section, as on Windows.
        if (section < 0)
            continue;
        sections_[section].last_content_line = line;
        const qsizetype equals = text.indexOf('=');
        if (equals < 0)
            continue;
        // Of two keys with one name, the first one counts.
        const QString name = section_name + QChar('\n') + Folded(text.first(equals));
        if (!keys_.contains(name))
            keys_.insert(name, KeyPlace{line, section, -1});
    }
    line_starts_.push_back(data_.size());
}

QByteArrayView IniDocument::lineView(int line) const {
    return QByteArrayView(data_).sliced(line_starts_[line],
                                        line_starts_[line + 1] - line_starts_[line]);
}

QString IniDocument::value(const QString& section, const QString& key,
                           const QString& defaultValue) const {
    const auto place = keys_.constFind(LookupName(section, key));
    if (place == keys_.cend())
        return defaultValue;
    if (place->added >= 0)
        return ValueOfLine(sections_[place->section].added[place->added]);
    const auto replacement = replaced_.constFind(place->line);
    return ValueOfLine(replacement != replaced_.cend() ? QByteArrayView(*replacement)
                                                       : lineView(place->line));
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
    const QString name = LookupName(section, key);
    const QByteArray line = KeyLine(key, value);
    const auto place = keys_.constFind(name);
    if (place != keys_.cend()) {
        if (place->added >= 0)
            sections_[place->section].added[place->added] = line;
        else
            replaced_.insert(place->line, line);
        return;
    }
    const QString section_name = Folded(section);
    auto owner = section_index_.constFind(section_name);
    if (owner == section_index_.cend()) {
        owner = section_index_.insert(section_name, int(sections_.size()));
        sections_.push_back(Section{'[' + Encode(section) + "]\r\n", -1, {}});
    }
    Section& target = sections_[*owner];
    keys_.insert(name, KeyPlace{-1, *owner, int(target.added.size())});
    target.added.push_back(line);
}

QByteArray IniDocument::bytes() const {
    QByteArray out;
    out.reserve(data_.size() + 64);
    // A last line without line end gets one before anything is written behind it.
    const auto appendLine = [&out](QByteArrayView line) {
        if (out.endsWith('\r'))
            out += '\n';
        else if (!out.isEmpty() && !out.endsWith('\n'))
            out += "\r\n";
        out += line;
    };
    std::vector<const Section*> after_line(line_starts_.size(), nullptr);
    for (const Section& section : sections_)
        if (section.new_header.isEmpty() && !section.added.empty())
            after_line[section.last_content_line] = &section;
    for (int line = 0; line + 1 < int(line_starts_.size()); ++line) {
        const auto replacement = replaced_.constFind(line);
        appendLine(replacement != replaced_.cend() ? QByteArrayView(*replacement) : lineView(line));
        if (after_line[line])
            for (const QByteArray& added : after_line[line]->added)
                appendLine(added);
    }
    for (const Section& section : sections_) {
        if (section.new_header.isEmpty())
            continue;
        appendLine(section.new_header);
        for (const QByteArray& added : section.added)
            appendLine(added);
    }
    return out;
}

bool IniDocument::save(const QString& path) const {
    if (cut_)
        return false;
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return false;
    QSaveFile file(path);
    // Where the folder admits no new file but the file itself may be written, write in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // QSaveFile::commit() renames even when its final flush fell short (a full disk, a file
    // size limit) or the data never reached the disk; both are checked here first, so a cut
    // file never replaces a whole one.
    const QByteArray out = bytes();
    if (file.write(out) != out.size() || !file.flush() || !SyncedToDisk(file)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

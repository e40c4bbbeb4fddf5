#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <vector>

// One INI file held in memory, read and changed with the semantics of the Windows profile
// functions, and written back with every line we did not change kept byte for byte. Loading it
// once lets a caller look up or set hundreds of keys at the cost of one read and one write.
//
// Names and values are text in Windows-1251, the code page of the Windows machines the files
// come from, unless the file starts with a UTF-8 or UTF-16 byte-order mark; a changed file keeps
// its encoding and its mark. A file without a mark that holds NUL bytes loads as NotText. Only the
// first kMaxSize bytes of a file are looked at, so a huge or binary file costs no more than that;
// such a file is never written, because writing it back would cut it.
class IniDocument {
public:
    static constexpr qsizetype kMaxSize = 1 << 20;
    static constexpr qsizetype kMaxValueLength = 254;

    enum class LoadStatus { Loaded, Missing, Unreadable, TooLarge, NotText };
    enum class Encoding { Ansi, Utf8, Utf16Le, Utf16Be };

    // A missing or unreadable file loads as an empty document; a TooLarge one as its first
    // kMaxSize bytes, up to the last whole line.
    LoadStatus load(const QString& path);

    // The value of key in section (trimmed, matching quotes removed, cut to kMaxValueLength),
    // or defaultValue when the section or the key is missing.
    QString value(const QString& section, const QString& key, const QString& defaultValue) const;
    // Replaces the key's line, or adds key=value at the end of the section, adding the section
    // at the end of the file when missing. CR and LF in the value become blanks.
    void setValue(const QString& section, const QString& key, const QString& value);

    QByteArray bytes() const;
    // Replaces the file atomically. Empty when done, else why not, in Russian: the file could
    // not be written, or the document holds only the beginning of a file too large to load, or a
    // UTF-16 file whose bytes would not come back unchanged.
    QString save(const QString& path) const;

private:
    struct Section {
        QByteArray new_header;      // set for a section this document added
        int last_content_line = -1; // new keys of an original section follow this line
        std::vector<QByteArray> added;
    };
    // An original line of the file, or a line added to a section.
    struct KeyPlace {
        int line = -1;
        int section = -1;
        int added = -1;
    };

    void parse();
    QByteArrayView lineView(int line) const;
    bool utf8() const { return file_encoding != Encoding::Ansi; }

    QByteArray content;
    // Only the beginning of a too large file was read, or the file's text does not convert back
    // to the same bytes: writing it back would lose data.
    bool read_only = false;
    Encoding file_encoding = Encoding::Ansi;
    std::vector<qsizetype> line_starts; // plus the end of the data as the last entry
    std::vector<Section> section_list;
    QHash<QString, int> section_index;
    QHash<QString, KeyPlace> key_places;
    QHash<int, QByteArray> replaced;
};

#pragma once

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <optional>

// The file list's name filter: one or more patterns separated by ";", each with the wildcards
// "?" (one character) and "*" (any run), matched without regard to letter case as on Windows.
// "*.*" stands for every name, with or without a dot, and an empty text for every name too.
// The pattern of every name, the filter's text until the user types another.
inline const QString kEveryNamePattern = QStringLiteral("*.*");

class NamePattern {
public:
    // Empty when the text is no pattern: it names a folder ("/" or "\"), holds a control
    // character or one of the characters Windows reads as other wildcards (< > " |), or is
    // longer than a file name can be.
    static std::optional<NamePattern> parse(const QString& text);

    bool matches(const QString& name) const;

private:
    QList<QRegularExpression> compiled_patterns;
};

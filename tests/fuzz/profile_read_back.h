#pragma once

#include "files/ini_document.h"

#include <QString>

// A written value as the profile functions return it on the next read: on one line, outer
// blanks trimmed, matching quotes removed, at most 254 characters.
inline QString ProfileReadBack(QString value) {
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

#pragma once

#include <QString>

// INI helpers with the semantics of the Windows profile functions, so files exchanged with
// Windows machines read alike: names matched without regard to letter case, blanks around
// names and values trimmed, a value in matching quotes returned without them, new sections
// appended at the end, new keys at the end of their section, every other line kept byte for
// byte. Values longer than 254 characters are returned cut to 254.
QString ReadIniValue(const QString& path, const QString& section, const QString& key,
                     const QString& defaultValue);
// Stores key=value (CR and LF in the value become blanks), creating file and section when
// missing. The file is replaced atomically, so a failed write never leaves it truncated.
// False when the file could not be written.
bool WriteIniValue(const QString& path, const QString& section, const QString& key,
                   const QString& value);

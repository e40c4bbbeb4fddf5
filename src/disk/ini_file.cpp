#include "disk/ini_file.h"

#include "disk/ini_document.h"

QString ReadIniValue(const QString& path, const QString& section, const QString& key,
                     const QString& defaultValue) {
    IniDocument document;
    document.load(path);
    return document.value(section, key, defaultValue);
}

bool WriteIniValue(const QString& path, const QString& section, const QString& key,
                   const QString& value) {
    IniDocument document;
    // An unreadable file is not replaced by one holding only this key.
    if (document.load(path) == IniDocument::LoadStatus::Unreadable)
        return false;
    document.setValue(section, key, value);
    return document.save(path).isEmpty();
}

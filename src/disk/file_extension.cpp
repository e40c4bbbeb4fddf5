#include "disk/file_extension.h"

QString WithExtension(const QString& typed, const QString& extension) {
    if (typed.isEmpty() || typed.endsWith(extension, Qt::CaseInsensitive))
        return typed;
    return typed + extension;
}

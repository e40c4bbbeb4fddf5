#include "app/qt_translation.h"

#include <QLibraryInfo>
#include <QTranslator>

bool LoadQtRussian(QTranslator& translator, const QLocale& system) {
    return system.language() == QLocale::Russian &&
           translator.load(QStringLiteral("qtbase_ru"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

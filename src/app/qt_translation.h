#pragma once

#include <QLocale>

class QTranslator;

// Loads Qt's own words in Russian (the file dialogs, the standard buttons, the command line's
// "Usage" and its errors) when the system speaks Russian; the program's own texts are Russian
// anyway. They come from Qt's translations folder (Debian: qt6-translations-l10n). False when
// the system speaks another language or the translation is not installed: Qt then speaks
// English. Install the translator into each application object the program makes.
bool LoadQtRussian(QTranslator& translator, const QLocale& system = QLocale::system());

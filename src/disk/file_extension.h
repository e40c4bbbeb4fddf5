#pragma once

#include <QString>

// The name typed for a file to save, `extension` (".pdf", ".png", ".csv") added unless it ends so
// already (in any letter case): a name typed without one still opens in the program meant for it.
// Empty stays empty (nothing chosen).
QString WithExtension(const QString& typed, const QString& extension);

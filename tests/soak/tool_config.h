#pragma once

#include <QString>

// Writes the tool's configuration file "тп.ini" into `folder`: port COM1, mapped to
// `devicePath`. Returns the file's path.
QString WriteToolConfig(const QString& folder, const QString& devicePath);

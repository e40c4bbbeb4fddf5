#pragma once

#include "disk/csv_file_reader.h"
#include "views/save_name_dialog.h"

#include <QString>
#include <functional>
#include <optional>

class QLabel;
class QWidget;

// What the windows that open a file of the session share (besides asking for it, OpenNameDialog):
// telling why it was not opened, and saying under its rows which file they are and what of it could
// not be read.

// How a window tells why a file was not opened; tests read the text in place of the box.
using RefusalTeller = std::function<void(const QString& text)>;
// The warning box «Ошибка открытия файла» over the active window.
RefusalTeller RefusalBox();

// A file asked for and read: its path and what came of the reading.
struct ReadFile {
    QString path;
    CsvReadOutcome read;
};
// Asks for a file (`title`), reads it with `read` under the wait cursor and tells a refusal;
// none when the user cancelled or the file was refused.
std::optional<ReadFile> AskAndRead(const OpenNameAsker& ask, const QString& title,
                                   const RefusalTeller& tell,
                                   const std::function<CsvReadOutcome(const QString&)>& read);

// «Файл: …» on `label`, and on a line of its own, in red, the lines that could not be read.
void ShowOpenedFile(QLabel* label, const QString& path, const CsvReadOutcome& read);

// The wait cursor while a file is read: a day's traffic log takes seconds.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

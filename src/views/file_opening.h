#pragma once

#include "disk/csv_file_reader.h"
#include "views/save_name_dialog.h"

#include <QString>
#include <functional>

class QLabel;
class QWidget;

// What the windows that open a file of the session share (besides asking for it, OpenNameDialog):
// telling why it was not opened, and saying under its rows which file they are and what of it could
// not be read.

// How a window tells why a file was not opened; tests read the text in place of the box.
using RefusalTeller = std::function<void(const QString& text)>;
// The warning box «Ошибка открытия файла» over the active window.
RefusalTeller RefusalBox();

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

#pragma once

#include "params/param_catalogue.h"

#include <QString>
#include <array>
#include <functional>
#include <optional>

class MessageBoxService;
class ParamBoxes;
class StatusLine;

// The parameter window's file operations: the 506 box texts as keys PAR0..PAR505 of section
// "Parameters" of an INI file in the folder chosen in the picker, under the name typed there.
//
// A save loads the file once, sets all 506 keys and replaces the file in one atomic write:
// rewriting the file per key took 1.5 to 2.5 s on a local disk (and far longer on a USB stick),
// and a failure midway would have left a file half old, half new. So a failed save leaves the
// previous file complete, and the boxes turn light blue only once their values are in the file.
// Retry repeats the whole write; Cancel leaves file and boxes as they were.

// The folder and the name joined with one separator (a root folder already ends with one).
QString ParamFilePath(const QString& folder, const QString& name);

// Writes the texts into the file's parameter section, keeping its other lines; a parameter
// without a text (nullopt) gets no key. Empty when done, else why the file could not be read or
// written, in Russian (FileFailureReason).
QString SaveParameterTexts(const QString& path,
                           const std::function<std::optional<QString>(int)>& textOf);

// The two names under which parameter n is stored.
QString ParamFileSection();
QString ParamFileKey(int n);

// Saving a file named in the picker, the way every save of the window goes: the progress text
// and the name in the status line, an empty name refused (OK alone; the status line keeps the
// text), an existing file of exactly that name replaced only when the user agrees, a failed
// `write` offered again (Retry) or given up (Cancel). `write` makes the whole file at the path it
// is given: empty when it is there, else why not. True when the file was written.
struct PickedFileSave {
    QString progress;      // the status line's text, the name follows
    QString replace_title; // the title of the question before an existing file is replaced
    // The failure box also names the path and the reason. The parameter file's box keeps the
    // words users of the older tool know; the newer saves say what went wrong.
    bool tell_reason = false;
};
bool SaveToPickedFile(StatusLine& status, MessageBoxService& messages, const PickedFileSave& save,
                      const QString& folder, const QString& name,
                      const std::function<QString(const QString&)>& write);

struct ParameterFileUi {
    ParamBoxes& boxes;
    StatusLine& status;
    MessageBoxService& messages;
};

// Each of the three returns true when it went through, false when it was refused or cancelled.
bool SaveParameterFile(const ParameterFileUi& ui, const QString& folder, const QString& name,
                       const std::function<void()>& refreshFileList);
// Takes every value present in the file into its box (light blue); boxes whose key is missing
// keep their text and turn light yellow.
bool ReadParameterFile(const ParameterFileUi& ui, const QString& folder, const QString& name);
// The file a compare read: its path and the text of every key it holds (empty where missing).
struct ComparedFile {
    QString path;
    std::array<std::optional<QString>, kParamCount> values;
};
// Colours every box by whether its number equals the file's: light green or light red, light
// yellow where the file lacks the key. No text changes. Nothing when refused or cancelled.
std::optional<ComparedFile> CompareParameterFile(const ParameterFileUi& ui, const QString& folder,
                                                 const QString& name);
// Two files compared without the controller: the boxes take the first file's values (empty
// where it lacks the key) and are coloured by the second's as CompareParameterFile colours them.
// Paths, not the picker's folder and name: the two files are picked each in a dialog. Nothing
// changes when the first file cannot be read; the second file's values when it could.
std::optional<ComparedFile> CompareParameterFiles(const ParameterFileUi& ui, const QString& first,
                                                  const QString& second);

#pragma once

#include <QString>

// Where the tool keeps "тп.ini" and where the parameter window's file picker starts.
//
// A program copied into a folder of its own (or run from its build) is portable: both stay beside
// the executable, so the folder can be carried to another machine whole. A program installed in a
// system folder (under /usr or /opt, or installed on Windows) shares that folder with every user
// and must not write into it, least of all when root runs it: the file is kept per user, and the
// picker starts among the user's documents, where parameter files belong.
struct ToolPlaces {
    QString config_path;
    QString picker_folder;
};

// True when `executableFolder` lies under /usr or /opt; on Windows, under Program Files or beside
// the installer's uninstaller.
bool IsSystemFolder(const QString& executableFolder);

// The places of a program run from `executableFolder`, for the user who runs it. When installed,
// the per-user configuration folder is created, so that the first start can write the file there
// exactly as a portable program writes it beside itself.
ToolPlaces PlacesFor(const QString& executableFolder);

// PlacesFor the folder of the running executable.
ToolPlaces PlacesOfThisProgram();

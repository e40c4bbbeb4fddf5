#pragma once

#include "disk/name_pattern.h"

#include <QHash>
#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

// The parameter window's own file picker: drive list, folder list, file list filtered by a
// name pattern, and the file name box. The file operations take their folder from here
// (currentFolder) and their name from the name box (fileName).
//
// A drive that can't be read hides the lists and boxes behind "Диск недоступен" and makes
// the picker unusable until a readable drive is chosen. A folder that vanishes or can't be
// listed stays chosen, says so in its folder list entry and shows no files; the folders above
// it remain there to go back to.
class FileLocationPicker : public QWidget {
    Q_OBJECT
public:
    using VolumeSource = std::function<QStringList()>;

    // An empty `volumes` lists the mounted volumes that are ready.
    FileLocationPicker(QWidget* parent, VolumeSource volumes, const QString& startFolder);

    QString currentFolder() const { return current_folder; }
    QString fileName() const;
    bool isUsable() const { return picker_usable; }

    // Lists the files of the current folder again, e.g. after a save added one.
    void refreshFiles();
    // Watches the set of drives (the window calls it every 500 ms) and the current folder.
    void refreshDrives();

signals:
    void usableChanged(bool usable);

private:
    void chooseDrive(const QString& root);
    void openFolder(const QString& folder);
    void showFolder();
    void fillFiles();
    void applyPattern();
    void setUsable(bool usable);
    void fillDriveList(QComboBox* list, const QStringList& roots);
    QStringList listedDrives(const QComboBox* list) const;

    VolumeSource volume_source;
    QComboBox* drive_list = nullptr;
    QComboBox* hidden_drive_list = nullptr;
    QListWidget* folder_list = nullptr;
    QListWidget* file_list = nullptr;
    QLineEdit* pattern_box = nullptr;
    QLineEdit* file_name_box = nullptr;
    QLabel* drive_unavailable_label = nullptr;

    QString current_drive;
    QString current_folder;
    bool folder_listable = true;
    // The folder last shown on each drive, to come back to, as a drive's current folder.
    QHash<QString, QString> drive_folders;
    NamePattern file_pattern;
    bool picker_usable = true;
};

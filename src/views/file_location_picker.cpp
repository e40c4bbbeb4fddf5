#include "views/file_location_picker.h"

#include "disk/ready_volumes.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStyle>
#include <QVBoxLayout>
#include <memory>

namespace {

bool Listable(const QString& folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

void SetBackground(QLineEdit* box, QColor colour) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, colour);
    box->setPalette(palette);
}

// The folder itself and the folders above it up to the drive's root, outermost first.
QStringList FolderChain(const QString& root, const QString& folder) {
    QStringList chain{folder};
    while (chain.front() != root) {
        const QString parent = QFileInfo(chain.front()).path();
        if (parent == chain.front())
            break;
        chain.prepend(parent);
    }
    return chain;
}

QString FolderName(const QString& folder) {
    const QString name = QFileInfo(folder).fileName();
    return name.isEmpty() ? folder : name;
}

} // namespace

FileLocationPicker::FileLocationPicker(QWidget* parent, VolumeSource volumes,
                                       const QString& startFolder)
    : QWidget(parent),
      volume_source(volumes ? std::move(volumes)
                            : VolumeSource([watch = std::make_shared<MountWatch>()] {
                                  return watch->roots();
                              })) {
    drive_list = new QComboBox(this);
    hidden_drive_list = new QComboBox(this);
    folder_list = new QListWidget(this);
    pattern_box = new QLineEdit(kEveryNamePattern, this);
    file_list = new QListWidget(this);
    file_name_box = new QLineEdit(this);
    drive_unavailable_label = new QLabel(QStringLiteral("Диск недоступен"), this);
    drive_list->setObjectName("Drive2");
    hidden_drive_list->setObjectName("Drive1");
    folder_list->setObjectName("Dir2");
    file_list->setObjectName("File2");
    pattern_box->setObjectName("Text2");
    file_name_box->setObjectName("Text3");
    drive_unavailable_label->setObjectName("Label38");
    hidden_drive_list->hide();
    drive_unavailable_label->hide();
    drive_unavailable_label->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(drive_list);
    layout->addWidget(folder_list, 1);
    layout->addWidget(drive_unavailable_label, 1);
    layout->addWidget(pattern_box);
    layout->addWidget(file_list, 1);
    layout->addWidget(file_name_box);

    current_folder = QDir::cleanPath(QDir(startFolder).absolutePath());
    const QStringList roots = volume_source();
    fillDriveList(hidden_drive_list, roots);
    fillDriveList(drive_list, roots);
    const QString start_drive = VolumeOf(roots, current_folder);
    drive_folders.insert(start_drive, current_folder);
    drive_list->setCurrentIndex(int(std::max<qsizetype>(0, roots.indexOf(start_drive))));
    applyPattern();
    chooseDrive(start_drive);

    connect(drive_list, &QComboBox::activated, this,
            [this](int index) { chooseDrive(drive_list->itemData(index).toString()); });
    connect(folder_list, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { openFolder(item->data(Qt::UserRole).toString()); });
    connect(pattern_box, &QLineEdit::textChanged, this, &FileLocationPicker::applyPattern);
    const auto takeName = [this](QListWidgetItem* item) { file_name_box->setText(item->text()); };
    connect(file_list, &QListWidget::itemClicked, this, takeName);
    connect(file_list, &QListWidget::itemActivated, this, takeName);
}

QString FileLocationPicker::fileName() const {
    return file_name_box->text();
}

void FileLocationPicker::chooseDrive(const QString& root) {
    if (!current_drive.isEmpty() && picker_usable)
        drive_folders.insert(current_drive, current_folder);
    if (!Listable(root)) {
        folder_list->hide();
        file_list->hide();
        pattern_box->hide();
        file_name_box->hide();
        drive_unavailable_label->show();
        setUsable(false);
        return;
    }
    current_drive = root;
    const QString remembered = drive_folders.value(root, root);
    current_folder = Listable(remembered) ? remembered : root;
    showFolder();
    drive_unavailable_label->hide();
    folder_list->show();
    file_list->show();
    pattern_box->show();
    file_name_box->show();
    setUsable(true);
}

void FileLocationPicker::openFolder(const QString& folder) {
    current_folder = folder;
    showFolder();
}

void FileLocationPicker::showFolder() {
    folder_listable = Listable(current_folder);
    folder_list->clear();
    const QStyle* style = this->style();
    const QStringList chain = FolderChain(current_drive, current_folder);
    for (int level = 0; level < chain.size(); ++level) {
        QString text = QString(2 * level, ' ') + FolderName(chain[level]);
        if (level + 1 == chain.size() && !folder_listable)
            text += QStringLiteral(" (папка недоступна)");
        auto* item =
            new QListWidgetItem(style->standardIcon(QStyle::SP_DirOpenIcon), text, folder_list);
        item->setData(Qt::UserRole, chain[level]);
    }
    folder_list->setCurrentRow(int(chain.size()) - 1);
    if (folder_listable) {
        const QString indent(2 * chain.size(), ' ');
        const QFileInfoList subfolders =
            QDir(current_folder)
                .entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot,
                               QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
        for (const QFileInfo& subfolder : subfolders) {
            auto* item = new QListWidgetItem(style->standardIcon(QStyle::SP_DirClosedIcon),
                                             indent + subfolder.fileName(), folder_list);
            item->setData(Qt::UserRole, subfolder.absoluteFilePath());
        }
    }
    fillFiles();
}

void FileLocationPicker::fillFiles() {
    file_list->clear();
    if (folder_listable) {
        const QStringList names =
            QDir(current_folder)
                .entryList(QDir::Files, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
        for (const QString& name : names)
            if (file_pattern.matches(name))
                file_list->addItem(name);
    }
}

void FileLocationPicker::applyPattern() {
    SetBackground(pattern_box, Qt::white);
    const std::optional<NamePattern> pattern = NamePattern::parse(pattern_box->text());
    if (!pattern) {
        SetBackground(pattern_box, Qt::red);
        return;
    }
    file_pattern = *pattern;
    fillFiles();
}

void FileLocationPicker::refreshFiles() {
    if (Listable(current_folder) != folder_listable)
        showFolder();
    else
        fillFiles();
}

void FileLocationPicker::refreshDrives() {
    const QStringList roots = volume_source();
    if (roots != listedDrives(hidden_drive_list))
        fillDriveList(hidden_drive_list, roots);
    if (listedDrives(hidden_drive_list) != listedDrives(drive_list)) {
        const QString chosen = drive_list->currentData().toString();
        fillDriveList(drive_list, roots);
        const int kept = int(roots.indexOf(chosen));
        drive_list->setCurrentIndex(std::max(0, kept));
        // The chosen drive is gone (a stick pulled out): fall back to the system's root.
        if (kept < 0 && !roots.isEmpty())
            chooseDrive(roots.first());
    }
    if (picker_usable && Listable(current_folder) != folder_listable)
        showFolder();
}

void FileLocationPicker::setUsable(bool usable) {
    if (usable == picker_usable)
        return;
    picker_usable = usable;
    emit usableChanged(usable);
}

void FileLocationPicker::fillDriveList(QComboBox* list, const QStringList& roots) {
    list->clear();
    for (const QString& root : roots)
        list->addItem(root, root);
}

QStringList FileLocationPicker::listedDrives(const QComboBox* list) const {
    QStringList roots;
    for (int i = 0; i < list->count(); ++i)
        roots.append(list->itemData(i).toString());
    return roots;
}

#include "views/file_location_picker.h"

#include "files/ready_volumes.h"

#include <QComboBox>
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
    : QWidget(parent), volumes_(volumes ? std::move(volumes)
                                        : VolumeSource([watch = std::make_shared<MountWatch>()] {
                                              return watch->roots();
                                          })) {
    Drive2 = new QComboBox(this);
    Drive1 = new QComboBox(this);
    Dir2 = new QListWidget(this);
    Text2 = new QLineEdit(QStringLiteral("*.*"), this);
    File2 = new QListWidget(this);
    Text3 = new QLineEdit(this);
    Label38 = new QLabel(QStringLiteral("Диск недоступен"), this);
    Drive2->setObjectName("Drive2");
    Drive1->setObjectName("Drive1");
    Dir2->setObjectName("Dir2");
    File2->setObjectName("File2");
    Text2->setObjectName("Text2");
    Text3->setObjectName("Text3");
    Label38->setObjectName("Label38");
    Drive1->hide();
    Label38->hide();
    Label38->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(Drive2);
    layout->addWidget(Dir2, 1);
    layout->addWidget(Label38, 1);
    layout->addWidget(Text2);
    layout->addWidget(File2, 1);
    layout->addWidget(Text3);

    folder_ = QDir::cleanPath(QDir(startFolder).absolutePath());
    const QStringList roots = volumes_();
    fillDriveList(Drive1, roots);
    fillDriveList(Drive2, roots);
    const QString start_drive = VolumeOf(roots, folder_);
    drive_folders_.insert(start_drive, folder_);
    Drive2->setCurrentIndex(int(std::max<qsizetype>(0, roots.indexOf(start_drive))));
    applyPattern();
    chooseDrive(start_drive);

    connect(Drive2, &QComboBox::activated, this,
            [this](int index) { chooseDrive(Drive2->itemData(index).toString()); });
    connect(Dir2, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { openFolder(item->data(Qt::UserRole).toString()); });
    connect(Text2, &QLineEdit::textChanged, this, &FileLocationPicker::applyPattern);
    const auto takeName = [this](QListWidgetItem* item) { Text3->setText(item->text()); };
    connect(File2, &QListWidget::itemClicked, this, takeName);
    connect(File2, &QListWidget::itemActivated, this, takeName);
}

QString FileLocationPicker::fileName() const {
    return Text3->text();
}

void FileLocationPicker::chooseDrive(const QString& root) {
    if (!drive_.isEmpty() && usable_)
        drive_folders_.insert(drive_, folder_);
    if (!Listable(root)) {
        Dir2->hide();
        File2->hide();
        Text2->hide();
        Text3->hide();
        Label38->show();
        setUsable(false);
        return;
    }
    drive_ = root;
    const QString remembered = drive_folders_.value(root, root);
    folder_ = Listable(remembered) ? remembered : root;
    showFolder();
    Label38->hide();
    Dir2->show();
    File2->show();
    Text2->show();
    Text3->show();
    setUsable(true);
}

void FileLocationPicker::openFolder(const QString& folder) {
    folder_ = folder;
    showFolder();
}

void FileLocationPicker::showFolder() {
    folder_listable_ = Listable(folder_);
    Dir2->clear();
    const QStyle* style = this->style();
    const QStringList chain = FolderChain(drive_, folder_);
    for (int level = 0; level < chain.size(); ++level) {
        QString text = QString(2 * level, ' ') + FolderName(chain[level]);
        if (level + 1 == chain.size() && !folder_listable_)
            text += QStringLiteral(" (папка недоступна)");
        auto* item = new QListWidgetItem(style->standardIcon(QStyle::SP_DirOpenIcon), text, Dir2);
        item->setData(Qt::UserRole, chain[level]);
    }
    Dir2->setCurrentRow(int(chain.size()) - 1);
    if (folder_listable_) {
        const QString indent(2 * chain.size(), ' ');
        const QFileInfoList subfolders = QDir(folder_).entryInfoList(
            QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
        for (const QFileInfo& subfolder : subfolders) {
            auto* item = new QListWidgetItem(style->standardIcon(QStyle::SP_DirClosedIcon),
                                             indent + subfolder.fileName(), Dir2);
            item->setData(Qt::UserRole, subfolder.absoluteFilePath());
        }
    }
    fillFiles();
}

void FileLocationPicker::fillFiles() {
    File2->clear();
    if (folder_listable_) {
        const QStringList names =
            QDir(folder_).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
        for (const QString& name : names)
            if (pattern_.matches(name))
                File2->addItem(name);
    }
}

void FileLocationPicker::applyPattern() {
    SetBackground(Text2, Qt::white);
    const std::optional<NamePattern> pattern = NamePattern::parse(Text2->text());
    if (!pattern) {
        SetBackground(Text2, Qt::red);
        return;
    }
    pattern_ = *pattern;
    fillFiles();
}

void FileLocationPicker::refreshFiles() {
    if (Listable(folder_) != folder_listable_)
        showFolder();
    else
        fillFiles();
}

void FileLocationPicker::refreshDrives() {
    const QStringList roots = volumes_();
    if (roots != listedDrives(Drive1))
        fillDriveList(Drive1, roots);
    if (listedDrives(Drive1) != listedDrives(Drive2)) {
        const QString chosen = Drive2->currentData().toString();
        fillDriveList(Drive2, roots);
        const int kept = int(roots.indexOf(chosen));
        Drive2->setCurrentIndex(std::max(0, kept));
        // The chosen drive is gone (a stick pulled out): fall back to the system's root.
        if (kept < 0 && !roots.isEmpty())
            chooseDrive(roots.first());
    }
    if (usable_ && Listable(folder_) != folder_listable_)
        showFolder();
}

void FileLocationPicker::setUsable(bool usable) {
    if (usable == usable_)
        return;
    usable_ = usable;
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

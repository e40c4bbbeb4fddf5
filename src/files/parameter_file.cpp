#include "files/parameter_file.h"

#include "disk/ini_document.h"
#include "host/message_box.h"
#include "host/status_line.h"
#include "params/memory_param_boxes.h"
#include "params/param_boxes.h"
#include "params/param_catalogue.h"
#include "params/param_values.h"
#include "text/file_failure.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kCannotOpen = QStringLiteral("Невозможно открыть файл ");
// A key holding this word counts as missing, as does a missing key.
const QString kMissing = QStringLiteral("default");

// The platform's directory search, letter case included: on a volume that ignores case a
// name differing only in case reaches the existing file without matching its listed name, and
// a name with a folder part never equals a listed name.
bool ExistsUnderExactName(const QString& path, const QString& name) {
    const QFileInfo info(path);
    return info.isFile() && QDir(info.absolutePath())
                                .entryList(QDir::Files | QDir::Hidden | QDir::System)
                                .contains(name);
}

enum class Use { Read, Compare };

// Without a name or a file there is nothing to read: one box, and the status line cleared.
bool CanRead(const ParameterFileUi& ui, const QString& path, const QString& name) {
    if (!name.isEmpty() && QFileInfo(path).isFile())
        return true;
    ui.messages.ask(MessageIcon::Critical, file_text::kOpenErrorTitle,
                    kCannotOpen + name + file_text::kForReading, MessageButtons::Ok);
    ui.status.setText(QString());
    return false;
}

// The file as it is now; false when the user gave up on a file that could not be read. A file
// that is not text is refused like an unreadable one: read as a profile it would only show
// every key as missing.
bool LoadForReading(const ParameterFileUi& ui, const QString& path, const QString& name,
                    IniDocument& document) {
    for (;;) {
        const IniDocument::LoadStatus status = document.load(path);
        if (status == IniDocument::LoadStatus::Loaded ||
            status == IniDocument::LoadStatus::TooLarge)
            return true;
        if (ui.messages.ask(MessageIcon::Critical, file_text::kOpenErrorTitle,
                            kCannotOpen + name + file_text::kForReading + "\r\n",
                            MessageButtons::RetryCancel) != MessageAnswer::Retry)
            return false;
    }
}

// `found`, when given, gets what the file holds, for whoever reports on the compare later.
bool TakeIn(const ParameterFileUi& ui, const QString& folder, const QString& name, Use use,
            ComparedFile* found = nullptr) {
    const QString path = ParamFilePath(folder, name);
    if (!CanRead(ui, path, name))
        return false;
    ui.status.showProgress(QStringLiteral("Чтение файла ") + (use == Use::Read ? path : name));
    IniDocument document;
    if (!LoadForReading(ui, path, name, document))
        return false;
    for (int i = 0; i < kParamCount; ++i) {
        const QString value = document.value(ParamFileSection(), ParamFileKey(i), kMissing);
        if (value == kMissing) {
            ui.boxes.setState(i, BoxState::MissingInFile);
            continue;
        }
        if (found)
            found->values[i] = value;
        if (use == Use::Read) {
            ui.boxes.setText(i, value);
            ui.boxes.setState(i, BoxState::FromFile);
        } else {
            ui.boxes.setState(i, ParseNumberText(value) == ParseNumberText(ui.boxes.text(i))
                                     ? BoxState::MatchesFile
                                     : BoxState::DiffersFromFile);
        }
    }
    if (found)
        found->path = path;
    ui.status.setText(QString());
    return true;
}

} // namespace

QString ParamFilePath(const QString& folder, const QString& name) {
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

QString SaveParameterTexts(const QString& path,
                           const std::function<std::optional<QString>(int)>& textOf) {
    IniDocument document;
    const IniDocument::LoadStatus loaded = document.load(path);
    if (loaded == IniDocument::LoadStatus::Unreadable)
        return FileFailureReason(path, QString());
    // Nothing of a file that is no text can be kept: merged into, it would stay a file that no
    // read takes, and the user has chosen to replace it.
    if (loaded == IniDocument::LoadStatus::NotText)
        document = IniDocument();
    for (int i = 0; i < kParamCount; ++i)
        if (const std::optional<QString> text = textOf(i))
            document.setValue(ParamFileSection(), ParamFileKey(i), *text);
    return document.save(path);
}

QString ParamFileSection() {
    return QStringLiteral("Parameters");
}

QString ParamFileKey(int n) {
    return QStringLiteral("PAR") + QString::number(n);
}

bool SaveToPickedFile(StatusLine& status, MessageBoxService& messages, const PickedFileSave& save,
                      const QString& folder, const QString& name,
                      const std::function<QString(const QString&)>& write) {
    status.showProgress(save.progress + name);
    const QString path = ParamFilePath(folder, name);
    if (name.isEmpty()) {
        messages.ask(MessageIcon::Critical, file_text::kOpenErrorTitle,
                     kCannotOpen + name + file_text::kForWriting, MessageButtons::Ok);
        return false;
    }
    if (ExistsUnderExactName(path, name) &&
        messages.ask(MessageIcon::Question, save.replace_title,
                     QStringLiteral("Файл ") + name + QStringLiteral(" уже существует!") +
                         QStringLiteral("\r\nЗаменить его?"),
                     MessageButtons::OkCancel) != MessageAnswer::Ok) {
        status.setText(QString());
        return false;
    }
    for (QString reason = write(path); !reason.isEmpty(); reason = write(path)) {
        QString text = kCannotOpen + name + file_text::kForWriting;
        if (save.tell_reason)
            text += QStringLiteral("\r\n") + FileFailure(path, reason);
        if (messages.ask(MessageIcon::Critical, file_text::kOpenErrorTitle, text,
                         MessageButtons::RetryCancel) != MessageAnswer::Retry) {
            status.setText(QString());
            return false;
        }
    }
    status.setText(QString());
    return true;
}

bool SaveParameterFile(const ParameterFileUi& ui, const QString& folder, const QString& name,
                       const std::function<void()>& refreshFileList) {
    const PickedFileSave save{QStringLiteral("Сохранение файла "),
                              QStringLiteral("Создание текстового файла")};
    if (!SaveToPickedFile(ui.status, ui.messages, save, folder, name, [&ui](const QString& path) {
            return SaveParameterTexts(path, [&ui](int i) { return ui.boxes.text(i); });
        }))
        return false;
    for (int i = 0; i < kParamCount; ++i)
        ui.boxes.setState(i, BoxState::FromFile);
    if (refreshFileList)
        refreshFileList();
    return true;
}

bool ReadParameterFile(const ParameterFileUi& ui, const QString& folder, const QString& name) {
    return TakeIn(ui, folder, name, Use::Read);
}

std::optional<ComparedFile> CompareParameterFile(const ParameterFileUi& ui, const QString& folder,
                                                 const QString& name) {
    ComparedFile found;
    if (!TakeIn(ui, folder, name, Use::Compare, &found))
        return std::nullopt;
    return found;
}

std::optional<ComparedFile> CompareParameterFiles(const ParameterFileUi& ui, const QString& first,
                                                  const QString& second) {
    MemoryParamBoxes taken;
    const QFileInfo firstFile(first), secondFile(second);
    if (!ReadParameterFile({taken, ui.status, ui.messages}, firstFile.absolutePath(),
                           firstFile.fileName()))
        return std::nullopt;
    for (int i = 0; i < kParamCount; ++i) {
        ui.boxes.setText(i, taken.states[i] == BoxState::FromFile ? taken.texts[i] : QString());
        ui.boxes.setState(i, *taken.states[i]);
    }
    return CompareParameterFile(ui, secondFile.absolutePath(), secondFile.fileName());
}

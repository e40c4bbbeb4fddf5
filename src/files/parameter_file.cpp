#include "files/parameter_file.h"

#include "files/ini_document.h"
#include "host/message_box.h"
#include "host/status_line.h"
#include "params/param_boxes.h"
#include "params/param_catalogue.h"
#include "params/param_values.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kOpenErrorTitle = QStringLiteral("Ошибка открытия файла");
const QString kCannotOpen = QStringLiteral("Невозможно открыть файл ");
const QString kForWriting = QStringLiteral(" для записи");
const QString kForReading = QStringLiteral(" для чтения");
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
    ui.messages.ask(MessageIcon::Critical, kOpenErrorTitle, kCannotOpen + name + kForReading,
                    MessageButtons::Ok);
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
        if (ui.messages.ask(MessageIcon::Critical, kOpenErrorTitle,
                            kCannotOpen + name + kForReading + "\r\n",
                            MessageButtons::RetryCancel) != MessageAnswer::Retry)
            return false;
    }
}

bool TakeIn(const ParameterFileUi& ui, const QString& folder, const QString& name, Use use) {
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
        } else if (use == Use::Read) {
            ui.boxes.setText(i, value);
            ui.boxes.setState(i, BoxState::FromFile);
        } else {
            ui.boxes.setState(i, ParseNumberText(value) == ParseNumberText(ui.boxes.text(i))
                                     ? BoxState::MatchesFile
                                     : BoxState::DiffersFromFile);
        }
    }
    ui.status.setText(QString());
    return true;
}

} // namespace

QString ParamFilePath(const QString& folder, const QString& name) {
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

bool SaveParameterTexts(const QString& path,
                        const std::function<std::optional<QString>(int)>& textOf) {
    IniDocument document;
    if (document.load(path) == IniDocument::LoadStatus::Unreadable)
        return false;
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

bool SaveParameterFile(const ParameterFileUi& ui, const QString& folder, const QString& name,
                       const std::function<void()>& refreshFileList) {
    ui.status.showProgress(QStringLiteral("Сохранение файла ") + name);
    const QString path = ParamFilePath(folder, name);
    if (name.isEmpty()) {
        ui.messages.ask(MessageIcon::Critical, kOpenErrorTitle, kCannotOpen + name + kForWriting,
                        MessageButtons::Ok);
        return false;
    }
    if (ExistsUnderExactName(path, name) &&
        ui.messages.ask(MessageIcon::Question, QStringLiteral("Создание текстового файла"),
                        QStringLiteral("Файл ") + name + QStringLiteral(" уже существует!") +
                            QStringLiteral("\r\nЗаменить его?"),
                        MessageButtons::OkCancel) != MessageAnswer::Ok) {
        ui.status.setText(QString());
        return false;
    }
    while (!SaveParameterTexts(path, [&ui](int i) { return ui.boxes.text(i); })) {
        if (ui.messages.ask(MessageIcon::Critical, kOpenErrorTitle,
                            kCannotOpen + name + kForWriting,
                            MessageButtons::RetryCancel) != MessageAnswer::Retry) {
            ui.status.setText(QString());
            return false;
        }
    }
    for (int i = 0; i < kParamCount; ++i)
        ui.boxes.setState(i, BoxState::FromFile);
    ui.status.setText(QString());
    if (refreshFileList)
        refreshFileList();
    return true;
}

bool ReadParameterFile(const ParameterFileUi& ui, const QString& folder, const QString& name) {
    return TakeIn(ui, folder, name, Use::Read);
}

bool CompareParameterFile(const ParameterFileUi& ui, const QString& folder, const QString& name) {
    return TakeIn(ui, folder, name, Use::Compare);
}

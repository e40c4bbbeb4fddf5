// Reading and comparing a parameter file, whatever the file holds: the input is the file's
// bytes. Compare, read, compare again, save over the file and read the save back into fresh
// boxes. No message comes for a file that exists, every box ends in
// the colour its key calls for, and every box text survives a save as the profile rules allow.

#include "config/message_box.h"
#include "files/ini_document.h"
#include "files/parameter_file.h"
#include "files/value_text.h"
#include "fuzz_check.h"
#include "fuzz_scratch_dir.h"
#include "memory_param_boxes.h"
#include "profile_read_back.h"
#include "recording_host.h"
#include "scripted_messages.h"

#include <QFile>
#include <array>

namespace {

const QString kMissing = QStringLiteral("default");

// Texts as the window shows them after a read from the controller, and an empty box.
QString ShownText(int i) {
    if (i % 50 == 9)
        return QString();
    return i % 3 == 0 ? QString::number(i) + QStringLiteral(",5 ") : QString::number(i * 7);
}

QByteArray Box(int i) {
    return "box " + QByteArray::number(i);
}

struct Window {
    MemoryParamBoxes boxes;
    RecordingHost status;
    ScriptedMessages messages;
    ParameterFileUi ui{boxes, status, messages};

    void checkQuiet(const char* operation, int boxesAsked) const {
        FUZZ_CHECK(messages.shown.size() == boxesAsked,
                   QByteArray(operation) + ": " + QByteArray::number(messages.shown.size()) +
                       " message boxes, first: " +
                       (messages.shown.isEmpty() ? QByteArray() : messages.shown[0].text.toUtf8()));
        FUZZ_CHECK(status.status.isEmpty(),
                   QByteArray(operation) + ": status line " + status.status.toUtf8());
    }
};

std::array<QString, kParamCount> FileValues(const QString& path) {
    IniDocument document;
    document.load(path);
    std::array<QString, kParamCount> values;
    for (int i = 0; i < kParamCount; ++i)
        values[i] = document.value(ParamFileSection(), ParamFileKey(i), kMissing);
    return values;
}

void CheckCompare(const Window& w, const std::array<QString, kParamCount>& file,
                  const std::array<QString, kParamCount>& texts) {
    w.checkQuiet("compare", 0);
    for (int i = 0; i < kParamCount; ++i) {
        FUZZ_CHECK(w.boxes.texts[i] == texts[i], Box(i) + " changed by a compare");
        const BoxState expected = file[i] == kMissing ? BoxState::MissingInFile
                                  : ParseNumberText(file[i]) == ParseNumberText(texts[i])
                                      ? BoxState::MatchesFile
                                      : BoxState::DiffersFromFile;
        FUZZ_CHECK(w.boxes.states[i] == expected, Box(i) + ": " + file[i].toUtf8());
    }
}

void CheckSaved(const QString& folder, const QString& name,
                const std::array<QString, kParamCount>& texts) {
    Window fresh;
    ReadParameterFile(fresh.ui, folder, name);
    fresh.checkQuiet("read of a save", 0);
    for (int i = 0; i < kParamCount; ++i) {
        FUZZ_CHECK(fresh.boxes.states[i] == BoxState::FromFile, Box(i) + " missing in the save");
        FUZZ_CHECK(fresh.boxes.texts[i] == ProfileReadBack(texts[i]),
                   Box(i) + ": " + texts[i].toUtf8() + " read back as " +
                       fresh.boxes.texts[i].toUtf8());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString folder = ScratchDir();
    const QString name = QStringLiteral("p.ini");
    {
        QFile file(ParamFilePath(folder, name));
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                       file.write(reinterpret_cast<const char*>(data), qsizetype(size)) ==
                           qsizetype(size),
                   "cannot write the input file");
    }
    const std::array<QString, kParamCount> file = FileValues(ParamFilePath(folder, name));

    Window w;
    std::array<QString, kParamCount> texts;
    for (int i = 0; i < kParamCount; ++i)
        w.boxes.texts[i] = texts[i] = ShownText(i);

    CompareParameterFile(w.ui, folder, name);
    CheckCompare(w, file, texts);

    ReadParameterFile(w.ui, folder, name);
    w.checkQuiet("read", 0);
    for (int i = 0; i < kParamCount; ++i) {
        if (file[i] != kMissing)
            texts[i] = file[i];
        FUZZ_CHECK(w.boxes.texts[i] == texts[i], Box(i) + ": " + w.boxes.texts[i].toUtf8());
        FUZZ_CHECK(w.boxes.states[i] ==
                       (file[i] == kMissing ? BoxState::MissingInFile : BoxState::FromFile),
                   Box(i));
    }

    CompareParameterFile(w.ui, folder, name);
    CheckCompare(w, file, texts);

    w.messages.answer(MessageAnswer::Ok);
    SaveParameterFile(w.ui, folder, name, nullptr);
    w.checkQuiet("save over", 1);
    CheckSaved(folder, name, texts);
    return 0;
}

#include "files/param_report.h"

#include "live/poll_decoder.h"
#include "params/param_boxes.h"
#include "params/param_description.h"

void PanelFacts::take(const PollPicture& picture) {
    if (picture.object_look)
        object_type = picture.object_look->caption;
    // The window shows a version as its two numbers' texts, each with the blank a number's text
    // keeps after it ("1 .2 "); on paper it reads as the version it is.
    protocol_version = QString(picture.pr_ver).remove(' ');
    software_version = QString(picture.sw_ver).remove(' ');
    running_hours = picture.motomin.trimmed();
}

QString BoxStateWords(std::optional<BoxState> state) {
    switch (state.value_or(BoxState::NotRead)) {
    case BoxState::FromEeprom:
        return QStringLiteral("из ЭСППЗУ");
    case BoxState::NotRead:
        return QStringLiteral("не прочитан");
    case BoxState::FromFile:
        return QStringLiteral("из файла");
    case BoxState::MissingInFile:
        return QStringLiteral("нет в файле");
    case BoxState::MatchesFile:
        return QStringLiteral("совпадает с файлом");
    case BoxState::DiffersFromFile:
        return QStringLiteral("отличается от файла");
    case BoxState::Changed:
        return QStringLiteral("изменён");
    case BoxState::NotStored:
        return QStringLiteral("не совпал при проверке записи");
    }
    return {};
}

ParamReport MakeParamReport(const ReportHeading& heading, const ParamBoxes& boxes,
                            const std::optional<ComparedFile>& compared,
                            const QHash<int, QString>& notStoredWritten) {
    ParamReport report;
    report.heading = heading;
    // Once reads, edits or another file have replaced every colour the compare gave, naming its
    // file would claim a comparison the report no longer shows.
    bool compareShown = false;
    for (int i = 0; i < kParamCount; ++i) {
        ParamReportRow& row = report.rows[i];
        row.description = ParamDescription(i);
        row.value = boxes.text(i);
        row.state = boxes.state(i);
        compareShown = compareShown || row.state == BoxState::MatchesFile ||
                       row.state == BoxState::DiffersFromFile;
        if (compared && row.state == BoxState::DiffersFromFile)
            row.file_value = compared->values[i].value_or(QString());
        if (row.state == BoxState::NotStored)
            row.written_value = notStoredWritten.value(i);
    }
    if (compared && compareShown)
        report.compared_file = compared->path;
    return report;
}

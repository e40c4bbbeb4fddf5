#pragma once

#include "files/parameter_file.h"
#include "params/box_state.h"
#include "params/param_catalogue.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <array>
#include <optional>

class ParamBoxes;
struct PollPicture;

// What the main window shows of the panel from the poll answers, as the report's heading names it.
// Empty until the first answer.
struct PanelFacts {
    QString object_type;
    QString protocol_version;
    QString software_version;
    QString running_hours;

    // An answer of an unknown object type keeps the last known one, as the main window does.
    void take(const PollPicture& picture);
};

struct ReportHeading {
    QDateTime made;
    PanelFacts panel;
    int slave_address = 0;
    QString port;
};

struct ParamReportRow {
    QString description;
    QString value;
    std::optional<BoxState> state;
    // The compared file's text, only where the box differs from it.
    QString file_value;
    // What the last write-all sent, only where its check found the box's value stored instead.
    QString written_value;
};

// The record of a parameter window: the heading and one row per parameter, the row's place
// being the parameter's number.
struct ParamReport {
    ReportHeading heading;
    // The path of the compared file while some box still shows that compare's outcome.
    QString compared_file;
    std::array<ParamReportRow, kParamCount> rows;
};

// The state as the report says it: «из ЭСППЗУ», «изменён», …; «не прочитан» for a box that no
// answer, file or edit has touched yet.
QString BoxStateWords(std::optional<BoxState> state);

// The report of what the boxes show now. `compared`: the window's last compare, if any;
// `notStoredWritten`: the values the last write-all's check found stored otherwise, by parameter.
ParamReport MakeParamReport(const ReportHeading& heading, const ParamBoxes& boxes,
                            const std::optional<ComparedFile>& compared,
                            const QHash<int, QString>& notStoredWritten);

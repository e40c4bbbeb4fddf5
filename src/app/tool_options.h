#pragma once

#include "app/batch_job.h"
#include "app/session_files.h"

#include <QCommandLineParser>
#include <QStringList>
#include <optional>

class MessageBoxService;
class Tool;

// The command line of zarn-tool: the files the session is written to from the first frame on,
// or the batch mode instead of the windows. It is read whole before any window system starts,
// so that a mistake is told alike with a display or without one.
class ToolOptions {
public:
    ToolOptions();
    // Prints the usage or the version and exits when either is asked for. Returns the mistake,
    // in Russian, when the command line is wrong: an unknown option, a missing value, an option
    // of the other mode, a batch job that cannot be done as given; empty when it is right. The
    // window system's own options (-platform, -style, …) pass, for it to take.
    QString read(const QStringList& arguments);
    // What follows a mistake on standard error.
    static QString usageLine();

    // The job of a command line that asks for the batch mode; empty when it asks for the windows.
    const std::optional<BatchJob>& batchJob() const { return job; }
    // The recording file to look at instead of working with a controller; empty when none.
    QString recordToOpen() const { return parser.value(open_record); }
    // Opens the files asked for and sets the backup folder. A file that cannot be opened is
    // told in a warning box, and the tool works on without it. Without --journal the journal
    // goes to one file a day in the user's data folder; without --backup-dir the backups go to
    // its folder "backups".
    void applyTo(Tool& tool, MessageBoxService& boxes) const;

    QCommandLineParser parser;

private:
    QString mistakeOfParse(const QStringList& arguments) const;
    QString mistakeOfMode() const;
    QString mistakeOfBatch();
    SessionFiles sessionFiles() const;
    QString backupFolder() const;

    QCommandLineOption help;
    QCommandLineOption version;
    QCommandLineOption traffic_log;
    QCommandLineOption record;
    QCommandLineOption journal;
    QCommandLineOption backup_dir;
    QCommandLineOption batch;
    QCommandLineOption port;
    QCommandLineOption address;
    QCommandLineOption fast;
    QCommandLineOption open_record;
    std::optional<BatchJob> job;
};

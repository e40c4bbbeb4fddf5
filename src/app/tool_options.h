#pragma once

#include "app/batch_job.h"

#include <QCommandLineParser>
#include <QStringList>
#include <optional>

class Tool;

// The command line of zarn-tool beyond --help and --version: the files the session is
// written to from the first frame on, or the batch mode instead of the windows.
class ToolOptions {
public:
    ToolOptions();
    // Prints the usage or the version and exits when either is asked for; anything else waits
    // for process().
    void answerHelpOrVersion(const QStringList& arguments);
    // Exits with the usage text on an unknown option, as QCommandLineParser::process does.
    void process(const QStringList& arguments);
    // Opens the files asked for; one that cannot be opened is said on standard error, and the
    // tool works on without it. Without --journal the journal goes to one file a day in the
    // user's data folder; without --backup-dir the backups go to its folder "backups".
    void applyTo(Tool& tool) const;

    // True when the command line asks for the batch mode, well formed or not.
    bool wantsBatch(const QStringList& arguments);
    // The job of the command line wantsBatch() took; empty, with the reason in `error`, when
    // its arguments are bad.
    std::optional<BatchJob> batchJob(QString& error) const;

    QCommandLineParser parser;

private:
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
};

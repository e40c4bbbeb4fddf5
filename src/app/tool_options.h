#pragma once

#include <QCommandLineParser>
#include <QStringList>

class Tool;

// The command line of zarn-tool beyond --help and --version: the files the session is
// written to from the first frame on.
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

    QCommandLineParser parser;

private:
    QCommandLineOption help;
    QCommandLineOption version;
    QCommandLineOption traffic_log;
    QCommandLineOption record;
    QCommandLineOption journal;
    QCommandLineOption backup_dir;
};

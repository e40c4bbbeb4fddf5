#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// zarn-sim (its path in ZARN_SIM) as a child process, reached through a symlink in a folder of
// its own that also takes the files a test hands it (its EEPROM file, the tool's configuration).
// The destructor ends the simulator.
class SimProcess {
public:
    ~SimProcess();

    // Starts it with --link plus `arguments` and waits until it has printed the pty's path.
    // False, with the reason in errorText(), when it does not come up.
    bool start(const QStringList& arguments = {});
    // Starts it as a serial device server instead (--tcp `where`; "0" takes a free loopback
    // port); the tool reaches it at tcpAddress().
    bool startOnTcp(const QString& where = "0", const QStringList& arguments = {});

    QString linkPath() const { return dir.filePath("ttyZARN"); }
    QString ptyPath() const { return printed_path; }
    QString tcpAddress() const { return "tcp://" + printed_path; }
    QString filePath(const QString& name) const { return dir.filePath(name); }
    QString errorText() const { return error_text; }
    QProcess& process() { return child; }

private:
    bool launch(const QStringList& arguments);

    QTemporaryDir dir;
    QProcess child;
    QString printed_path;
    QString error_text;
};

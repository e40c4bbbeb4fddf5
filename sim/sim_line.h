#pragma once

#include <QByteArray>
#include <QString>

// The simulator's end of the serial line: the master side of a pseudo-terminal whose slave
// side the tool opens like a serial device, or a real serial device at 115200 8E1.
class SimLine {
public:
    enum class ReadResult { Data, Nothing, NobodyThere };

    SimLine() = default;
    ~SimLine();
    SimLine(const SimLine&) = delete;
    SimLine& operator=(const SimLine&) = delete;

    // Creates the pty; with a non-empty linkPath also a symlink to its slave side (an old
    // symlink there is replaced, anything else is refused).
    bool openPty(const QString& linkPath, QString& error);
    bool openDevice(const QString& path, QString& error);

    // The path the tool should open: the pty's slave side, or the device.
    QString path() const { return line_path; }
    int fd() const { return line_fd; }

    // Appends whatever has arrived, without waiting.
    ReadResult read(QByteArray& into);
    // Sends what the line takes now; returns the number of bytes it did not take.
    int write(const QByteArray& bytes);

private:
    void removeLink();

    int line_fd = -1;
    // Our own hold on the pty's slave side, so the master never sees a hang-up between the
    // tool's opens.
    int slave_hold_fd = -1;
    QString line_path;
    QString link_path;
};

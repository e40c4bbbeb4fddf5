#pragma once

#include <QByteArray>
#include <QString>

// The simulator's end of the serial line: the master side of a pseudo-terminal whose slave
// side the tool opens like a serial device, a real serial device at 115200 8E1, or a TCP port
// served as a serial device server serves it (the same bytes in a stream, one client at a time).
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
    // Listens on host:port (a numeric address; port 0 takes a free one); path() is then
    // "host:port" with the port taken.
    bool openTcp(const QString& host, int port, QString& error);

    // The path the tool should open: the pty's slave side, or the device.
    QString path() const { return line_path; }
    // What to wait on: the line, or while no client is connected, the listening socket.
    int fd() const { return line_fd >= 0 ? line_fd : listen_fd; }

    // Appends whatever has arrived, without waiting. On TCP a client waiting is taken on first,
    // and one that left is let go, so the next can connect.
    ReadResult read(QByteArray& into);
    // Sends what the line takes now; returns the number of bytes it did not take.
    int write(const QByteArray& bytes);

private:
    void removeLink();

    int line_fd = -1;
    // Our own hold on the pty's slave side, so the master never sees a hang-up between the
    // tool's opens.
    int slave_hold_fd = -1;
    int listen_fd = -1; // on TCP; line_fd is then the client, -1 while there is none
    QString line_path;
    QString link_path;
};

#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal whose master side the test plays: the port under test opens the slave
// path as if it were a serial device. Like the simulator, the pair keeps the slave side open
// itself, so bytes sent while the port is closed wait in the line as on a real device.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool isValid() const { return master >= 0; }
    QString slavePath() const { return path; }
    // Bytes "from the controller" towards whoever holds the slave side.
    void send(const QByteArray& bytes);
    // Everything the slave side has written so far (reads what has arrived, never waits).
    QByteArray received();
    // Bytes that reached the device and wait there for whoever reads the slave side.
    int waitingAtDevice() const;
    // The far end goes away, like a pulled adapter.
    void hangUp();

private:
    int master = -1;
    int slaveHold = -1;
    QString path;
    QByteArray collected;
};

#include "link/qt_serial_port.h"
#include "pty_pair.h"

#include <QtTest>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

// A tool that was killed with the line open leaves its settings on the device (raw, even
// parity). The next start must still open the line and talk over it.
class StaleLineSettingsTest : public QObject {
    Q_OBJECT
private slots:
    void opensALineLeftBehindByAKilledProgram() {
        PtyPair pty;
        QVERIFY(pty.isValid());
        const int fd = ::open(pty.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        QVERIFY(fd >= 0);
        termios tio{};
        QCOMPARE(tcgetattr(fd, &tio), 0);
        cfmakeraw(&tio);
        tio.c_cflag |= PARENB | CLOCAL | CREAD;
        tio.c_iflag |= IGNPAR;
        cfsetspeed(&tio, B115200);
        QCOMPARE(tcsetattr(fd, TCSANOW, &tio), 0);
        ::close(fd);

        QtSerialPort port([&pty](int) { return pty.slavePath(); });
        QCOMPARE(port.open(), OpenOutcome::Opened);
        port.write(QByteArray::fromHex("07042C"));
        QTRY_COMPARE(pty.received(), QByteArray::fromHex("07042C"));
    }
};

QTEST_GUILESS_MAIN(StaleLineSettingsTest)
#include "test_stale_line_settings.moc"

#pragma once

#include "config/line_address.h"
#include "link/byte_line.h"

#include <QString>
#include <functional>
#include <memory>

namespace port_text {
inline const QString kOpenErrorTitle = QStringLiteral("Ошибка открытия порта");
// Why the line to `address` did not open, and what to do about it.
QString OpenFailure(const LineAddress& address, OpenOutcome failure);
} // namespace port_text

// Makes the line to an address, not yet open.
using LineFactory = std::function<std::unique_ptr<ByteLine>(const LineAddress&)>;

// The lines of this machine: COM<n> is the serial device the port map of the configuration file
// at `configPath` gives it, looked up at each opening; on Windows, the system's port COM<n>. A
// network address, given or mapped to a COM number, is a line through a serial device server.
LineFactory LinesOfThisMachine(const QString& configPath);

// The tool's one line, wherever the user has it go. The exchange cycle keeps this object while
// the user switches ports (the port dialog, the start-up); each opening makes the line to the
// chosen address anew, through the factory given at construction (tests give fakes).
class ChosenLine : public ByteLine {
public:
    explicit ChosenLine(LineFactory makeLine);

    // Chooses where the next open goes; false for an address that names no line, and while open.
    bool choose(const LineAddress& address);
    const LineAddress& chosen() const { return address; }
    // The name of the line open now ("COM3"); empty while none is.
    QString openName() const;

    OpenOutcome open() override;
    bool isOpen() const override { return line && line->isOpen(); }
    void close() override;
    int waitingBytes() override { return line ? line->waitingBytes() : 0; }
    int read(std::uint8_t* into, int most) override { return line ? line->read(into, most) : 0; }
    void write(const QByteArray& frame) override;
    std::int64_t writeDoneUs() const override { return line ? line->writeDoneUs() : 0; }
    std::int64_t lastArrivalUs() const override { return line ? line->lastArrivalUs() : 0; }
    LineState state() override;
    QString stateText() const override;

private:
    LineFactory make_line;
    LineAddress address;
    std::unique_ptr<ByteLine> line;
};

#include "link/win_com_line.h"

#include "link/steady_micros.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <windows.h>

namespace {
// How long the reader sleeps at most between looks at the port. The arrival event is what wakes
// it; this only bounds the wait for bytes that came just before the reader asked for the event.
constexpr DWORD kLookAtLeastEveryMs = 10;
// Where no arrival event comes, the pace of the looks, and so the precision of arrival stamps.
constexpr DWORD kLookEveryMs = 2;

HANDLE Port(void* handle) {
    return static_cast<HANDLE>(handle);
}

// An overlapped operation with an event of its own, released with it.
struct Overlapped {
    Overlapped() { operation.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr); }
    ~Overlapped() { CloseHandle(operation.hEvent); }
    Overlapped(const Overlapped&) = delete;
    Overlapped& operator=(const Overlapped&) = delete;
    OVERLAPPED operation{};
};

// Runs an overlapped read or write to its end; false when the port failed.
bool Finish(HANDLE port, OVERLAPPED& operation, BOOL started, DWORD& moved) {
    if (started)
        return GetOverlappedResult(port, &operation, &moved, FALSE) != 0;
    return GetLastError() == ERROR_IO_PENDING &&
           GetOverlappedResult(port, &operation, &moved, TRUE) != 0;
}
} // namespace

WinComLine::WinComLine(QString devicePath) : device_path(std::move(devicePath)) {}

WinComLine::~WinComLine() {
    close();
}

OpenOutcome WinComLine::open() {
    if (lost)
        close();
    if (port)
        return OpenOutcome::Held;
    // No sharing: a second program that opens the port gets ERROR_ACCESS_DENIED, as we do while
    // another holds it.
    const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t*>(device_path.utf16()),
                                      GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_ACCESS_DENIED ? OpenOutcome::Held
                                                     : OpenOutcome::NotAvailable;
    port = handle;
    if (!setUpPort()) {
        CloseHandle(handle);
        port = nullptr;
        return OpenOutcome::NotAvailable;
    }
    stop_reader = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    reader = std::thread([this] { readUntilStopped(); });
    return OpenOutcome::Opened;
}

bool WinComLine::setUpPort() {
    DCB settings{};
    settings.DCBlength = sizeof settings;
    if (!SetupComm(Port(port), 4096, 4096) || !GetCommState(Port(port), &settings))
        return false;
    settings.BaudRate = CBR_115200;
    settings.ByteSize = 8;
    settings.Parity = EVENPARITY;
    settings.StopBits = ONESTOPBIT;
    settings.fBinary = TRUE;
    settings.fParity = TRUE;
    settings.fOutxCtsFlow = FALSE;
    settings.fOutxDsrFlow = FALSE;
    settings.fDsrSensitivity = FALSE;
    settings.fDtrControl = DTR_CONTROL_ENABLE;
    settings.fRtsControl = RTS_CONTROL_ENABLE;
    settings.fOutX = FALSE;
    settings.fInX = FALSE;
    settings.fErrorChar = FALSE;
    settings.fNull = FALSE;
    settings.fAbortOnError = FALSE;
    // A read returns at once with what has come; a write gives up after a second plus its
    // own time on the line rather than hang the tool on a stuck adapter.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutMultiplier = 1;
    timeouts.WriteTotalTimeoutConstant = 1000;
    // Whatever the port received before it was ours is no answer to us.
    return SetCommState(Port(port), &settings) && SetCommTimeouts(Port(port), &timeouts) &&
           SetCommMask(Port(port), EV_RXCHAR) &&
           PurgeComm(Port(port), PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT);
}

void WinComLine::close() {
    if (!port)
        return;
    SetEvent(stop_reader);
    reader.join();
    CloseHandle(stop_reader);
    CloseHandle(Port(port));
    stop_reader = nullptr;
    port = nullptr;
    lost = false;
    arrivals.clear();
    received.clear();
    read_at = 0;
}

void WinComLine::readUntilStopped() {
    Overlapped event;
    const HANDLE wakers[] = {stop_reader, event.operation.hEvent};
    DWORD mask = 0;
    // Where the driver cannot wait for arrivals (Wine on a pseudo-terminal, whose missing modem
    // lines end every wait at once), the reader looks by the clock instead.
    bool waitsForArrivals = true;
    bool waiting = false;
    while (true) {
        if (waitsForArrivals && !waiting) {
            ResetEvent(event.operation.hEvent);
            mask = 0;
            if (WaitCommEvent(Port(port), &mask, &event.operation))
                waitsForArrivals = (mask & EV_RXCHAR) != 0;
            else
                waiting = waitsForArrivals = GetLastError() == ERROR_IO_PENDING;
        }
        const DWORD woke = WaitForMultipleObjects(waiting ? 2 : 1, wakers, FALSE,
                                                  waiting ? kLookAtLeastEveryMs : kLookEveryMs);
        const std::int64_t wokeUs = SteadyMicros();
        if (woke == WAIT_OBJECT_0)
            break;
        if (woke == WAIT_OBJECT_0 + 1) {
            DWORD unused = 0;
            waiting = false;
            waitsForArrivals = GetOverlappedResult(Port(port), &event.operation, &unused, FALSE) &&
                               (mask & EV_RXCHAR) != 0;
        }
        // A port that is gone fails here, however the wait ended.
        if (!takeWhatWaits(wokeUs))
            break;
    }
    if (WaitForSingleObject(stop_reader, 0) != WAIT_OBJECT_0)
        lost = true;
    if (waiting) {
        // Clearing the mask completes the pending wait, which must end before its event goes.
        DWORD unused = 0;
        SetCommMask(Port(port), 0);
        CancelIoEx(Port(port), &event.operation);
        GetOverlappedResult(Port(port), &event.operation, &unused, TRUE);
    }
}

bool WinComLine::takeWhatWaits(std::int64_t wokeUs) {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(Port(port), &errors, &status))
        return false;
    if (status.cbInQue == 0)
        return true;
    QByteArray bytes(static_cast<qsizetype>(status.cbInQue), Qt::Uninitialized);
    Overlapped read;
    DWORD got = 0;
    const BOOL started = ReadFile(Port(port), bytes.data(), status.cbInQue, &got, &read.operation);
    if (!Finish(Port(port), read.operation, started, got))
        return false;
    const std::lock_guard hold(arrivals_guard);
    arrivals.append(bytes.constData(), static_cast<qsizetype>(got));
    arrival_us = wokeUs;
    return true;
}

int WinComLine::waitingBytes() {
    if (lost)
        close();
    if (!port)
        return 0;
    if (read_at == received.size()) {
        received.clear();
        read_at = 0;
    }
    {
        const std::lock_guard hold(arrivals_guard);
        received.append(arrivals);
        arrivals.clear();
    }
    return static_cast<int>(received.size()) - read_at;
}

int WinComLine::read(std::uint8_t* into, int most) {
    const int moved = std::min(most, static_cast<int>(received.size()) - read_at);
    std::memcpy(into, received.constData() + read_at, static_cast<std::size_t>(moved));
    read_at += moved;
    return moved;
}

void WinComLine::write(const QByteArray& frame) {
    if (!isOpen())
        return;
    Overlapped write;
    DWORD sent = 0;
    const BOOL started = WriteFile(Port(port), frame.constData(), static_cast<DWORD>(frame.size()),
                                   &sent, &write.operation);
    if (!Finish(Port(port), write.operation, started, sent) ||
        sent != static_cast<DWORD>(frame.size())) {
        lost = true;
        return;
    }
    write_done_us = SteadyMicros();
}

std::int64_t WinComLine::lastArrivalUs() const {
    const std::lock_guard hold(arrivals_guard);
    return arrival_us;
}

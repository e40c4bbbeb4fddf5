// zarn-sim: the ЗАРН controller (or several on one line) on a pseudo-terminal (or a serial device),
// for the demo, the end-to-end tests and soak runs of the service tool.
#include "controller_bus.h"
#include "fault_injector.h"
#include "sim_line.h"
#include "sim_loop.h"
#include "sim_options.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <random>

namespace {
volatile std::sig_atomic_t stopRequested = 0;
volatile std::sig_atomic_t countersRequested = 0;

void requestStop(int) {
    stopRequested = 1;
}

// Only noted here: the loop prints, as printing is not safe inside a signal handler.
void requestCounters(int) {
    countersRequested = 1;
}

int fail(const QString& message) {
    std::fprintf(stderr, "zarn-sim: %s\n", qPrintable(message));
    return 1;
}

// SIGINT, SIGTERM and SIGUSR1 are held back except while the loop waits, so they always end a
// wait instead of slipping in just before one. Set up before the line's path is printed: a
// script may ask for the counters as soon as it has read it.
sigset_t blockLoopSignals() {
    struct sigaction action {};
    sigemptyset(&action.sa_mask);
    action.sa_handler = requestStop;
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
    action.sa_handler = requestCounters;
    sigaction(SIGUSR1, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    sigset_t loopSignals;
    sigset_t previous;
    sigemptyset(&loopSignals);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGUSR1})
        sigaddset(&loopSignals, signal);
    sigprocmask(SIG_BLOCK, &loopSignals, &previous);
    return previous;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("zarn-sim");
    const ParsedSimOptions parsed = ParseSimOptions(QCoreApplication::arguments());
    if (parsed.help_requested) {
        std::fputs(qPrintable(parsed.help_text), stdout);
        return 0;
    }
    if (!parsed.error.isEmpty()) {
        fail(parsed.error);
        std::fputs("Try zarn-sim --help\n", stderr);
        return 2;
    }
    const SimOptions& options = parsed.options;
    const sigset_t waitMask = blockLoopSignals();

    const std::uint32_t seed = options.seed ? *options.seed : std::random_device{}();
    ControllerBus controllers;
    if (QString error; !controllers.build(options, seed, SteadyMicroseconds() / 1000, error))
        return fail(error);
    FaultInjector faults(options.drop_probability, options.corrupt_probability,
                         options.split_probability, seed);

    SimLine line;
    QString error;
    const bool opened =
        options.tcp_port >= 0           ? line.openTcp(options.tcp_host, options.tcp_port, error)
        : options.device_path.isEmpty() ? line.openPty(options.link_path, error)
                                        : line.openDevice(options.device_path, error);
    if (!opened)
        return fail(error);
    std::printf("%s\n", qPrintable(line.path()));
    std::fflush(stdout);

    SimLoop loop(line, controllers, faults, options);
    loop.run(stopRequested, countersRequested, waitMask);
    return 0;
}

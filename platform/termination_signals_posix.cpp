#include "termination_signals.h"

#include <QSocketNotifier>

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace kobako::platform {

namespace {

int signalPipe[2] = {-1, -1};

void onTerminationSignal(int) {
    const int interrupted = errno; // the code the signal interrupted may be about to read it
    const char byte = 1;
    [[maybe_unused]] auto ignored = write(signalPipe[1], &byte, 1);
    errno = interrupted;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent) {
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char byte;
        [[maybe_unused]] auto ignored = read(signalPipe[0], &byte, 1);
        emit requested();
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}

} // namespace kobako::platform

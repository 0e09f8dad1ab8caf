#include "process.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>

namespace kobako::platform {

DirectoryLock::DirectoryLock(const std::string &directory) {
    fd_ = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    held_ = fd_ >= 0 && flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

DirectoryLock::~DirectoryLock() {
    if (fd_ >= 0)
        close(fd_);
}

namespace {

int signalPipe[2] = {-1, -1};

void onTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] auto ignored = write(signalPipe[1], &byte, 1);
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

std::string executableBaseName() {
    // From the kernel rather than from Qt, so that it is known before Qt starts.
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return "kobako";
    return executable.stem().string();
}

std::string currentDirectory() {
    return std::filesystem::current_path().string();
}

} // namespace kobako::platform

// The door on Windows: a named pipe of the system's own, so that the program needs no network
// module. The running instance waits for a connection with an event that Qt's loop watches.
#include "platform/instance_door.h"

#include "core/windows_text.h"

#include <QWinEventNotifier>

#include <windows.h>

#include <filesystem>

namespace kobako::platform {

namespace {

constexpr DWORD kKnockTimeoutMs = 1000;

// A pipe's name holds no directories: the lock file's name, which is the user's and the
// directory's.
std::wstring pipeName(const std::string &lockPath) {
    const std::u8string name =
        std::filesystem::path(utf16(lockPath)).filename().u8string() + u8".socket";
    return L"\\\\.\\pipe\\" + utf16(std::string(name.begin(), name.end()));
}

} // namespace

struct InstanceDoor::Listening {
    HANDLE pipe = INVALID_HANDLE_VALUE;
    OVERLAPPED waiting{};
    QWinEventNotifier *notifier = nullptr;
    ~Listening() {
        if (pipe != INVALID_HANDLE_VALUE) {
            CancelIo(pipe);
            CloseHandle(pipe);
        }
        if (waiting.hEvent)
            CloseHandle(waiting.hEvent);
    }
    // Waits for the next visitor; true when one is already there.
    bool listen() {
        ResetEvent(waiting.hEvent);
        if (ConnectNamedPipe(pipe, &waiting))
            return true;
        const DWORD error = GetLastError();
        if (error == ERROR_PIPE_CONNECTED)
            SetEvent(waiting.hEvent);
        return false;
    }
};

InstanceDoor::InstanceDoor(const std::string &lockPath, QObject *parent)
    : QObject(parent), listening_(std::make_unique<Listening>()) {
    if (lockPath.empty())
        return;
    // Only the first instance of the name, and no remote visitor: no other program can stand
    // in for this door.
    listening_->pipe = CreateNamedPipeW(
        pipeName(lockPath).c_str(),
        PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 0, 16, 0, nullptr);
    listening_->waiting.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (listening_->pipe == INVALID_HANDLE_VALUE || !listening_->waiting.hEvent)
        return;
    listening_->notifier = new QWinEventNotifier(listening_->waiting.hEvent, this);
    connect(listening_->notifier, &QWinEventNotifier::activated, this, [this] {
        DisconnectNamedPipe(listening_->pipe);
        listening_->listen();
        emit knocked(false);
    });
    listening_->listen();
}

InstanceDoor::~InstanceDoor() = default;

bool InstanceDoor::knock(const std::string &lockPath, bool) {
    if (lockPath.empty())
        return false;
    const std::wstring name = pipeName(lockPath);
    if (!WaitNamedPipeW(name.c_str(), kKnockTimeoutMs))
        return false;
    HANDLE visitor =
        CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (visitor == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(visitor);
    return true;
}

} // namespace kobako::platform

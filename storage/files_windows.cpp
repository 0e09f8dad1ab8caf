// The files on Windows: the same promises as on POSIX systems, through Win32. The history
// directory is the user's own there (the start directory, or %APPDATA%), guarded by its access
// list, so no owner is compared.
#include "files.h"

#include "core/windows_text.h"
#include "gathered_writes.h"

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <memory>

namespace kobako::storage {

namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

Handle opened(HANDLE handle) {
    return Handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

bool isMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_INVALID_NAME;
}

std::filesystem::path fsPath(const std::string &path) {
    return std::filesystem::path(utf16(path));
}

} // namespace

ReadOutcome readFileInPieces(const std::string &path,
                             const std::function<void(std::string_view)> &take) {
    const Handle file = opened(CreateFileW(utf16(path).c_str(), GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(utf16(path).c_str());
        const bool directory =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        return isMissing(error) || directory ? ReadOutcome{}
                                             : ReadOutcome::failed(static_cast<int>(error));
    }
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        return {}; // a device or a pipe is no file of ours
    constexpr DWORD kPiece = 64 * 1024;
    const std::unique_ptr<char[]> buffer(new char[kPiece]);
    while (true) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer.get(), kPiece, &got, nullptr))
            return ReadOutcome::failed(static_cast<int>(GetLastError()));
        if (got == 0)
            return {ReadOutcome::Read, {}};
        take(std::string_view(buffer.get(), got));
    }
}

// The system's text for a Win32 error code, in the user's language and, as strerror's text is on
// POSIX systems, in the locale's encoding (the ANSI code page), which the windows decode so.
std::string systemReason(int error) {
    char *text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<char *>(&text), 0, nullptr);
    if (length == 0)
        return "error " + std::to_string(error);
    std::string reason(text, length);
    LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == '.' || reason.back() == ' '))
        reason.pop_back();
    return reason;
}

namespace {

// ".kobako.f3.NNNNNN.tmp" beside "kobako.f3", as on POSIX systems.
constexpr std::string_view kTemporarySuffix = ".tmp";

std::string temporaryName(const std::string &path, unsigned number) {
    const auto slash = path.find_last_of("\\/");
    const size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    std::string unique = std::to_string(100000 + number % 900000);
    return path.substr(0, nameAt) + "." + path.substr(nameAt) + "." + unique +
           std::string(kTemporarySuffix);
}

// A new temporary file of its own beside `path`, and its name.
std::pair<Handle, std::string> createTemporary(const std::string &path) {
    static std::atomic<unsigned> counter{GetCurrentProcessId() * 7919u};
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = temporaryName(path, counter++);
        Handle file = opened(CreateFileW(utf16(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                         FILE_ATTRIBUTE_HIDDEN, nullptr));
        if (file || GetLastError() != ERROR_FILE_EXISTS)
            return {std::move(file), std::move(name)};
    }
    SetLastError(ERROR_FILE_EXISTS);
    return {};
}

// Writes all of `bytes`; the error code of a failure, or 0.
DWORD writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD piece = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), piece, &written, nullptr))
            return GetLastError();
        bytes.remove_prefix(written);
    }
    return 0;
}

} // namespace

WriteResult writeFileAtomically(const std::string &path, const Producer &produce) {
    const auto failure = [&path](DWORD error) {
        return WriteFailure{path, systemReason(static_cast<int>(error))};
    };
    auto [file, temporary] = createTemporary(path);
    if (!file)
        return failure(GetLastError());
    const auto discard = [&, &temporary = temporary](DWORD error) {
        DeleteFileW(utf16(temporary).c_str());
        return failure(error);
    };
    GatheredWrites writes([handle = file.get()](std::string_view bytes) {
        return static_cast<int>(writeAll(handle, bytes));
    });
    produce([&writes](std::string_view piece) { writes.put(piece); });
    DWORD error = static_cast<DWORD>(writes.finish());
    if (!error && !FlushFileBuffers(file.get()))
        error = GetLastError();
    file.reset();
    if (error)
        return discard(error);
    // The replacement is written through to the disk before the call returns.
    if (!MoveFileExW(utf16(temporary).c_str(), utf16(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return discard(GetLastError());
    return {};
}

void removeStaleTemporaries(const std::string &directory, const std::vector<std::string> &names) {
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator(fsPath(directory), error)) {
        const std::string found = utf8(entry.path().filename().wstring());
        for (const std::string &name : names) {
            const std::string shape = temporaryName(name, 0);
            const bool sameShape = found.size() == shape.size() &&
                                   found.starts_with(shape.substr(0, name.size() + 2)) &&
                                   found.ends_with(kTemporarySuffix);
            if (sameShape && entry.is_regular_file(error))
                std::filesystem::remove(entry.path(), error);
        }
    }
}

WriteResult makePrivateDirectories(const std::string &path) {
    std::error_code error;
    std::filesystem::create_directories(fsPath(path), error);
    if (!std::filesystem::is_directory(fsPath(path), error))
        return WriteFailure{path, systemReason(ERROR_DIRECTORY)};
    return {};
}

// Windows says whether a directory can be written only by writing in it.
WriteResult checkWritable(const std::string &directory) {
    const std::string probe = temporaryName(directory + "\\kobako", GetCurrentProcessId());
    const Handle file = opened(CreateFileW(utf16(probe).c_str(), GENERIC_WRITE, 0, nullptr,
                                           CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!file)
        return WriteFailure{directory, systemReason(static_cast<int>(GetLastError()))};
    return {};
}

std::optional<ForeignOwner> ownedByAnotherUser(const std::string &,
                                               const std::vector<std::string> &) {
    return std::nullopt;
}

} // namespace kobako::storage

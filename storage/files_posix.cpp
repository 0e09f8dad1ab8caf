#include "files.h"

#include "gathered_writes.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

namespace kobako::storage {

ReadOutcome readFileInPieces(const std::string &path,
                             const std::function<void(std::string_view)> &take) {
    // Without blocking: opening a FIFO for reading would wait for a writer for ever.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? ReadOutcome{} : ReadOutcome::failed(errno);
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return {}; // a device, a FIFO or a directory is no file of ours
    }
    // Small, so that the pages it takes are few: on some virtual machines every page a process
    // touches for the first time costs as much as reading a few kilobytes.
    constexpr size_t kPiece = 64 * 1024;
    const std::unique_ptr<char[]> buffer(new char[kPiece]);
    ReadOutcome outcome{ReadOutcome::Read, {}};
    while (true) {
        const ssize_t got = read(fd, buffer.get(), kPiece);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            outcome = ReadOutcome::failed(errno);
        if (got <= 0)
            break;
        take(std::string_view(buffer.get(), static_cast<size_t>(got)));
    }
    close(fd);
    return outcome;
}

std::string systemReason(int error) {
    char buffer[256];
    // The GNU strerror_r, safe on any thread, returns the text it chose.
    return strerror_r(error, buffer, sizeof buffer);
}

namespace {

std::string directoryOf(const std::string &path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? "." : parent.string();
}

// ".kobako.f3.XXXXXX.tmp" beside "kobako.f3": hidden, and recognisable as ours after a crash.
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::string_view kUniquePart = ".XXXXXX";

std::string temporaryPattern(const std::string &path) {
    const std::filesystem::path target(path);
    std::string name(1, '.');
    name += target.filename().string();
    name += kUniquePart;
    name += kTemporarySuffix;
    return (target.parent_path() / name).string();
}

} // namespace

namespace {

// Writes all of `bytes`; the errno of a failure, or 0.
int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return 0;
}

} // namespace

WriteResult writeFileAtomically(const std::string &path, const Producer &produce) {
    const auto failure = [&path](int error) { return WriteFailure{path, systemReason(error)}; };
    std::string temporary = temporaryPattern(path);
    // mkstemps makes the file 0600, and the rename keeps that: the history may hold passwords
    // and private notes, and the other two files say where and how.
    const int fd = mkstemps(temporary.data(), static_cast<int>(kTemporarySuffix.size()));
    if (fd < 0)
        return failure(errno);
    auto fail = [&](int error) {
        close(fd);
        unlink(temporary.c_str());
        return failure(error);
    };

    GatheredWrites writes([fd](std::string_view bytes) { return writeAll(fd, bytes); });
    produce([&writes](std::string_view piece) { writes.put(piece); });
    const int error = writes.finish();
    if (error)
        return fail(error);
    if (fsync(fd) != 0)
        return fail(errno);
    const auto discard = [&](int error) {
        unlink(temporary.c_str());
        return failure(error);
    };
    if (close(fd) != 0)
        return discard(errno);
    struct stat existing {};
    if (lstat(path.c_str(), &existing) == 0 && existing.st_uid != geteuid())
        return discard(EPERM);
    if (rename(temporary.c_str(), path.c_str()) != 0)
        return discard(errno);
    // Make the rename itself durable.
    const int directory = open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        fsync(directory);
        close(directory);
    }
    return {};
}

void removeStaleTemporaries(const std::string &directory, const std::vector<std::string> &names) {
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator(directory, error)) {
        const std::string found = entry.path().filename().string();
        for (const std::string &name : names) {
            const std::string pattern =
                std::filesystem::path(temporaryPattern(name)).filename().string();
            const bool sameShape = found.size() == pattern.size() &&
                                   found.starts_with(pattern.substr(0, name.size() + 2)) &&
                                   found.ends_with(kTemporarySuffix);
            struct stat info {};
            if (sameShape && lstat(entry.path().c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
                info.st_uid == getuid())
                unlink(entry.path().c_str());
        }
    }
}

WriteResult makePrivateDirectories(const std::string &path) {
    const auto failure = [&path](int error) { return WriteFailure{path, systemReason(error)}; };
    std::filesystem::path made;
    for (const auto &part : std::filesystem::path(path)) {
        made /= part;
        if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST)
            return failure(errno);
    }
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return failure(errno);
    if (!S_ISDIR(status.st_mode))
        return failure(ENOTDIR);
    return {};
}

WriteResult checkWritable(const std::string &directory) {
    if (::access(directory.c_str(), W_OK | X_OK) != 0)
        return WriteFailure{directory, systemReason(errno)};
    return {};
}

namespace {

std::string userName(uid_t user) {
    if (const passwd *entry = getpwuid(user))
        return entry->pw_name;
    return std::to_string(user);
}

} // namespace

std::optional<ForeignOwner> ownedByAnotherUser(const std::string &directory,
                                               const std::vector<std::string> &names) {
    std::vector<std::string> paths{directory};
    for (const std::string &name : names)
        paths.push_back((std::filesystem::path(directory) / name).string());
    for (const std::string &path : paths) {
        struct stat info {};
        if (lstat(path.c_str(), &info) == 0 && info.st_uid != geteuid())
            return ForeignOwner{path, userName(info.st_uid)};
    }
    return std::nullopt;
}

} // namespace kobako::storage

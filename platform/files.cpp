#include "files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace kobako::platform {

bool readFileInPieces(const std::string &path, const std::function<void(std::string_view)> &take) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    // Small, so that the pages it takes are few: on some virtual machines every page a process
    // touches for the first time costs as much as reading a few kilobytes.
    constexpr size_t kPiece = 64 * 1024;
    const std::unique_ptr<char[]> buffer(ok ? new char[kPiece] : nullptr);
    while (ok) {
        const ssize_t got = read(fd, buffer.get(), kPiece);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        take(std::string_view(buffer.get(), static_cast<size_t>(got)));
    }
    close(fd);
    return ok;
}

std::optional<std::string> readWholeFile(const std::string &path) {
    std::string bytes;
    if (!readFileInPieces(path, [&](std::string_view piece) { bytes += piece; }))
        return std::nullopt;
    return bytes;
}

namespace {

std::string reason(int error) {
    return std::strerror(error);
}

std::string directoryOf(const std::string &path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

std::optional<std::string> writeFileAtomically(const std::string &path, std::string_view bytes,
                                               FileAccess access) {
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        return reason(errno);
    auto fail = [&](int error) -> std::optional<std::string> {
        close(fd);
        unlink(temporary.c_str());
        return reason(error);
    };

    mode_t mode = 0600;
    if (access == FileAccess::Everyone) {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    if (fchmod(fd, mode) != 0)
        return fail(errno);
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    if (fsync(fd) != 0)
        return fail(errno);
    if (close(fd) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        return reason(error);
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        return reason(error);
    }
    // Make the rename itself durable.
    const int directory = open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        fsync(directory);
        close(directory);
    }
    return std::nullopt;
}

} // namespace kobako::platform

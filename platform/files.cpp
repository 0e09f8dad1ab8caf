#include "files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace kobako::platform {

std::optional<std::string> readWholeFile(const std::string &path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes;
    bytes.resize(static_cast<size_t>(info.st_size));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    // A file that grew while being read: take the rest too.
    std::ostringstream rest;
    rest << in.rdbuf();
    bytes += rest.str();
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

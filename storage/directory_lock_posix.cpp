#include "directory_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>

namespace kobako::storage {

namespace {

// A directory only this user can write and that no one else made: $XDG_RUNTIME_DIR, or else
// one the program makes under $TMPDIR (or /tmp). A name another user took first is passed over
// for the next one; every instance of the user tries them in the same order, so all find the
// same one.
std::optional<std::string> privateDirectory() {
    auto isPrivate = [](const std::string &path) {
        struct stat info {};
        return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
               info.st_uid == geteuid() && (info.st_mode & 077) == 0;
    };
    if (const char *runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && isPrivate(runtime))
        return runtime;
    const char *temporary = std::getenv("TMPDIR");
    const std::string base = std::string(temporary && *temporary ? temporary : "/tmp") +
                             "/kobako-" + std::to_string(geteuid());
    constexpr int kNames = 64;
    for (int i = 0; i < kNames; ++i) {
        const std::string candidate = i == 0 ? base : base + "." + std::to_string(i);
        if ((mkdir(candidate.c_str(), 0700) == 0 || errno == EEXIST) && isPrivate(candidate))
            return candidate;
    }
    return std::nullopt;
}

} // namespace

// The lock is a file in a directory of the user's own, named after the directory, so that
// nothing is created in the directory itself and no other user can take it. Without such a place
// the directory itself is locked, which anyone who can read it could also do.
DirectoryLock::DirectoryLock(const std::string &directory) {
    std::error_code error;
    const std::string canonical = std::filesystem::weakly_canonical(directory, error).string();
    if (const auto place = privateDirectory()) {
        path_ = *place + "/" + lockFileName(error ? directory : canonical);
        fd_ = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    } else {
        fd_ = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
    held_ = fd_ >= 0 && flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

DirectoryLock::~DirectoryLock() {
    if (fd_ >= 0)
        close(fd_);
}

} // namespace kobako::storage

#include "process.h"

#include <fcntl.h>
#include <sys/file.h>
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

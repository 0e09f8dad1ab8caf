#pragma once

#include <string>

namespace kobako::platform {

// Holds an exclusive lock on a directory for the life of the process, so that only one instance
// works on the files kept there. Taking it creates no file.
class DirectoryLock {
  public:
    explicit DirectoryLock(const std::string &directory);
    ~DirectoryLock();
    DirectoryLock(const DirectoryLock &) = delete;
    DirectoryLock &operator=(const DirectoryLock &) = delete;

    bool held() const { return held_; }

  private:
    int fd_ = -1;
    bool held_ = false;
};

// The executable's file name without directory and extension.
std::string executableBaseName();
// The process's current directory.
std::string currentDirectory();

} // namespace kobako::platform

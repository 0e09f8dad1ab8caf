#pragma once

#include <string>

namespace kobako::platform {

// Holds an exclusive lock for a directory for the life of the process, so that only one instance
// works on the files kept there. Taking it creates no file in that directory.
class DirectoryLock {
  public:
    explicit DirectoryLock(const std::string &directory);
    ~DirectoryLock();
    DirectoryLock(const DirectoryLock &) = delete;
    DirectoryLock &operator=(const DirectoryLock &) = delete;

    bool held() const { return held_; }
    // The lock file, where there is one.
    const std::string &path() const { return path_; }

  private:
    std::string path_;
    int fd_ = -1;
    bool held_ = false;
};

// Keeps the heap in one arena: the program's few threads allocate little, and every further arena
// would keep free memory of its own. Called first thing, before any thread starts.
void useOneHeap();
// Hands the memory the heap holds free back to the system: after start-up, and after large texts
// have left.
void releaseFreeMemory();

// The executable's file name without directory and extension.
std::string executableBaseName();
// The process's current directory.
std::string currentDirectory();

} // namespace kobako::platform

#pragma once

#include <string>

namespace kobako::storage {

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
#ifdef _WIN32
    void *handle_ = nullptr;
#else
    int fd_ = -1;
#endif
    bool held_ = false;
};

// The name of the lock file for a directory (given canonical), the same in every instance.
std::string lockFileName(const std::string &directory);

} // namespace kobako::storage

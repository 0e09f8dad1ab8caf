#include "directory_lock.h"

#include "core/windows_text.h"

#include <windows.h>

#include <filesystem>

namespace kobako::storage {

// A file in the user's own temporary directory, opened with no sharing: a second opener is
// refused until this process ends, however it ends, and the file goes with it. Windows compares
// paths without case.
DirectoryLock::DirectoryLock(const std::string &directory) {
    std::error_code error;
    const std::filesystem::path canonical =
        std::filesystem::weakly_canonical(std::filesystem::path(utf16(directory)), error);
    std::wstring key = error ? utf16(directory) : canonical.wstring();
    CharLowerBuffW(key.data(), static_cast<DWORD>(key.size()));
    wchar_t temporary[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, temporary);
    path_ = utf8(std::wstring_view(temporary, length)) + lockFileName(utf8(key));
    HANDLE file = CreateFileW(utf16(path_).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    held_ = file != INVALID_HANDLE_VALUE;
    if (held_)
        handle_ = file;
}

DirectoryLock::~DirectoryLock() {
    if (handle_)
        CloseHandle(handle_);
}

} // namespace kobako::storage

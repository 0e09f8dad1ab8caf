#pragma once

// Paths are UTF-8 everywhere in the program; Windows takes them as UTF-16.
#include <windows.h>

#include <string>

namespace kobako::storage {

inline std::wstring widePath(const std::string &path) {
    const int length = static_cast<int>(path.size());
    const int wide = MultiByteToWideChar(CP_UTF8, 0, path.data(), length, nullptr, 0);
    std::wstring out(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.data(), length, out.data(), wide);
    return out;
}

inline std::string utf8Path(const std::wstring &path) {
    const int length = static_cast<int>(path.size());
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, path.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, path.data(), length, out.data(), size, nullptr, nullptr);
    return out;
}

} // namespace kobako::storage

#include "process.h"

#include <malloc.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>

namespace kobako::platform {

#ifdef _WIN32

// Windows' heap has no arenas to limit; it gives back what it can when compacted.
void useOneHeap() {}

void releaseFreeMemory() {
    _heapmin();
}

std::string executableBaseName() {
    wchar_t path[MAX_PATH + 1];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH)
        return "kobako";
    const std::u8string name = std::filesystem::path(path).stem().u8string();
    return std::string(name.begin(), name.end());
}

// In UTF-8, as every path of the program, whatever the system's code page.
std::string currentDirectory() {
    const std::u8string directory = std::filesystem::current_path().u8string();
    return std::string(directory.begin(), directory.end());
}

#else

void useOneHeap() {
    mallopt(M_ARENA_MAX, 1);
}

void releaseFreeMemory() {
    malloc_trim(0);
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

#endif

} // namespace kobako::platform

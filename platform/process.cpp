#include "process.h"

#include <malloc.h>
#ifdef _WIN32
#include <windows.h>

#include <shellapi.h> // needs windows.h first

#include "core/windows_text.h"
#else
#include <sys/resource.h>
#endif

#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace kobako::platform {

#ifdef _WIN32

std::vector<std::string> programArguments(int, char *[]) {
    int count = 0;
    wchar_t **arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> out;
    for (int i = 1; arguments && i < count; ++i)
        out.push_back(utf8(arguments[i]));
    LocalFree(arguments);
    return out;
}

std::optional<std::string> environmentVariable(const char *name) {
    const std::wstring wide(name, name + std::strlen(name));
    if (const wchar_t *value = _wgetenv(wide.c_str()))
        return utf8(value);
    return std::nullopt;
}

// Windows' heap has no arenas to limit; it gives back what it can when compacted.
void useOneHeap() {}

// Windows has no such limit on handles.
void allowEveryFileHandle() {}

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

std::vector<std::string> programArguments(int argc, char *argv[]) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::optional<std::string> environmentVariable(const char *name) {
    if (const char *value = std::getenv(name))
        return value;
    return std::nullopt;
}

void useOneHeap() {
    mallopt(M_ARENA_MAX, 1);
}

void allowEveryFileHandle() {
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }
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

#include "process.h"

#include <malloc.h>

#include <filesystem>

namespace kobako::platform {

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

} // namespace kobako::platform

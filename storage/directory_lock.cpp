#include "directory_lock.h"

#include <cstdint>
#include <cstdio>

namespace kobako::storage {

// FNV-1a: the same directory gives the same name in every build of the program.
std::string lockFileName(const std::string &directory) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char c : directory)
        hash = (hash ^ c) * 0x100000001b3ull;
    char name[32];
    std::snprintf(name, sizeof name, "kobako-%016llx.lock", static_cast<unsigned long long>(hash));
    return name;
}

} // namespace kobako::storage

#pragma once

#include <string>

namespace kobako::platform {

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

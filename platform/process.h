#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kobako::platform {

// Keeps the heap in one arena: the program's few threads allocate little, and every further arena
// would keep free memory of its own. Called first thing, before any thread starts.
void useOneHeap();
// Raises the number of files the process may hold open to what the system allows it: the
// desktop's default of 1,024 is soon spent by programs that paste and never read.
void allowEveryFileHandle();
// Hands the memory the heap holds free back to the system: after start-up, and after large texts
// have left.
void releaseFreeMemory();

// The program's arguments after its name, in UTF-8 (Windows hands main() its ANSI code page's).
std::vector<std::string> programArguments(int argc, char *argv[]);
// An environment variable's value in UTF-8; nothing when it is unset.
std::optional<std::string> environmentVariable(const char *name);

// The executable's file name without directory and extension.
std::string executableBaseName();
// The process's current directory.
std::string currentDirectory();

} // namespace kobako::platform

#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kobako::storage {

// Where the three files are kept: the size and history files in the current directory, the
// settings file in the directory the program was started in (the same, unless the program moved).
struct FileNames {
    std::string startDirectory;
    std::string baseName;

    std::string sizeFile() const { return baseName + ".f1"; }
    std::string settingsFile() const { return inStartDirectory(settingsName()); }
    std::string historyFile() const { return baseName + ".f3"; }
    std::string settingsName() const { return baseName + ".f2"; }
    // The three names, without a directory.
    std::vector<std::string> names() const { return {sizeFile(), settingsName(), historyFile()}; }
    std::string inStartDirectory(const std::string &name) const {
        return (std::filesystem::path(startDirectory) / name).string();
    }
};

} // namespace kobako::storage

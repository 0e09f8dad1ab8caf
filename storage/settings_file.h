#pragma once

#include "core/settings.h"
#include "file_names.h"
#include "write_result.h"

#include <string>
#include <string_view>

namespace kobako::storage {

// The settings file: five lines, always in front, list maximum, icon height, display mode and
// position. Reading applies line after line and stops at the first that fails; what was applied
// before it stays.
void readSettingsFile(std::string_view text, Settings &settings);
std::string writeSettingsFile(const Settings &settings);

// The settings file among the program's files.
class SettingsFile {
  public:
    explicit SettingsFile(const FileNames &files) : path_(files.settingsFile()) {}
    // Applies what the file holds; without a file the settings stay as they are.
    void load(Settings &settings) const;
    WriteResult save(const Settings &settings) const;

  private:
    std::string path_;
};

} // namespace kobako::storage

#pragma once

#include "settings.h"

#include <string>
#include <string_view>

namespace kobako {

// The settings file: five lines, always in front, list maximum, icon height, display mode and
// position. Reading applies line after line and stops at the first that fails; what was applied
// before it stays.
void readSettingsFile(std::string_view text, Settings &settings);
std::string writeSettingsFile(const Settings &settings);

} // namespace kobako

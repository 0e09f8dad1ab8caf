#include "core/text_lines.h"
#include "storage/settings_file.h"

#include <cstdlib>

// Any bytes leave the settings in their ranges, and what is written reads back the same once
// written and read a first time (a file that stops early may leave a list maximum above ten in
// text-box mode, which the next reading lowers to ten).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // Decoded line by line, as the program reads the file.
    const std::string text =
        kobako::decodeLines(std::string_view(reinterpret_cast<const char *>(data), size));
    kobako::Settings settings;
    kobako::storage::readSettingsFile(text, settings);
    const int alwaysOnTop = static_cast<int>(settings.alwaysOnTop);
    if (alwaysOnTop < 0 || alwaysOnTop > 2)
        std::abort();
    if (settings.listSpin() < kobako::Settings::kListSpinMin ||
        settings.listSpin() > kobako::Settings::kListSpinMax)
        std::abort();
    kobako::Settings once;
    kobako::storage::readSettingsFile(kobako::storage::writeSettingsFile(settings), once);
    kobako::Settings twice;
    kobako::storage::readSettingsFile(kobako::storage::writeSettingsFile(once), twice);
    if (kobako::storage::writeSettingsFile(twice) != kobako::storage::writeSettingsFile(once))
        std::abort();
    return 0;
}

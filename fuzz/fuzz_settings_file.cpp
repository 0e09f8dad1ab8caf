#include "core/settings_file.h"
#include "core/text_lines.h"

#include <cstdlib>

// Any bytes leave the settings in their ranges, and what is written reads back the same once
// written and read a first time (a file that stops early may leave a list maximum above ten in
// text-box mode, which the next reading lowers to ten).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // Decoded line by line, as the program reads the file.
    const std::string text =
        kobako::decodeLines(std::string_view(reinterpret_cast<const char *>(data), size));
    kobako::Settings settings;
    kobako::readSettingsFile(text, settings);
    if (settings.alwaysOnTop < 0 || settings.alwaysOnTop > 2)
        std::abort();
    if (settings.listSpin() < kobako::Settings::kListSpinMin ||
        settings.listSpin() > kobako::Settings::kListSpinMax)
        std::abort();
    kobako::Settings once;
    kobako::readSettingsFile(kobako::writeSettingsFile(settings), once);
    kobako::Settings twice;
    kobako::readSettingsFile(kobako::writeSettingsFile(once), twice);
    if (kobako::writeSettingsFile(twice) != kobako::writeSettingsFile(once))
        std::abort();
    return 0;
}

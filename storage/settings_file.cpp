#include "settings_file.h"

#include <algorithm>

#include "core/numbers.h"
#include "core/text_lines.h"
#include "files.h"

namespace kobako::storage {

namespace {

std::optional<int16_t> readInteger(LineReader &reader) {
    const auto number = readNumberLine(reader);
    return number ? roundToInt16(*number) : std::nullopt;
}

bool inRange(int value, int low, int high) {
    return value >= low && value <= high;
}

} // namespace

void readSettingsFile(std::string_view text, Settings &settings) {
    LineReader reader(text);

    auto alwaysOnTop = readInteger(reader);
    if (!alwaysOnTop || !inRange(*alwaysOnTop, 0, 2))
        return;
    settings.alwaysOnTop = static_cast<CheckState>(*alwaysOnTop);

    auto listMax = readInteger(reader);
    if (!listMax)
        return;
    settings.setListMaxText(std::to_string(*listMax));

    auto iconHeight = readInteger(reader);
    if (!iconHeight)
        return;
    settings.setIconHeightText(
        std::to_string(std::min<int>(*iconHeight, Settings::kLargestIconHeight)));

    auto displayMode = readInteger(reader);
    if (!displayMode || !inRange(*displayMode, 0, 1))
        return;
    settings.displayMode = static_cast<DisplayMode>(*displayMode);

    auto position = readInteger(reader);
    if (!position || !inRange(*position, 0, 6))
        return;
    settings.appearPosition = static_cast<AppearPosition>(*position);

    if (!inRange(settings.listMax(), Settings::kListSpinMin, Settings::kListSpinMax))
        return;
    settings.setListSpin(settings.listMax());
    if (!inRange(settings.iconHeight(), Settings::kIconSpinMin, Settings::kIconSpinMax))
        return;
    settings.setIconSpin(settings.iconHeight());
}

std::string writeSettingsFile(const Settings &settings) {
    std::string text;
    auto writeLine = [&text](std::string_view line) {
        text += line;
        text += kLineEnd;
    };
    writeLine(printNumber(static_cast<float>(settings.alwaysOnTop)));
    writeLine(settings.listMaxText());
    writeLine(settings.iconHeightText());
    writeLine(std::to_string(static_cast<int>(settings.displayMode)));
    writeLine(std::to_string(static_cast<int>(settings.appearPosition)));
    return text;
}

void SettingsFile::load(Settings &settings) const {
    if (const auto bytes = readWholeFile(path_))
        readSettingsFile(decodeLines(*bytes), settings);
}

WriteResult SettingsFile::save(const Settings &settings) const {
    return writeFileAtomically(path_, writeSettingsFile(settings));
}

} // namespace kobako::storage

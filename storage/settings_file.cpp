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

constexpr int kFiveLines = 5;
constexpr std::string_view kPasteAfterPickOn = "paste-after-pick=1";
constexpr std::string_view kPasteAfterPickOff = "paste-after-pick=0";

void readFiveLines(std::string_view text, Settings &settings) {
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

// The settings the five lines do not hold follow them as name=value lines. They are read
// whatever the five held, and what is not known here is kept.
void readOtherLines(std::string_view text, Settings &settings) {
    LineReader reader(text);
    std::string_view line;
    for (int i = 0; i < kFiveLines && reader.next(line); ++i) {
    }
    while (reader.next(line)) {
        if (line == kPasteAfterPickOn || line == kPasteAfterPickOff)
            settings.pasteAfterPick = line == kPasteAfterPickOn;
        else
            settings.otherLines.emplace_back(line);
    }
}

} // namespace

void readSettingsFile(std::string_view text, Settings &settings) {
    readFiveLines(text, settings);
    readOtherLines(text, settings);
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
    if (settings.pasteAfterPick)
        writeLine(kPasteAfterPickOn);
    for (const std::string &line : settings.otherLines)
        writeLine(line);
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

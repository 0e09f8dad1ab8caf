#include "settings.h"

#include "numbers.h"

#include <algorithm>

namespace kobako {

void Settings::setListMaxText(std::string text) {
    listMaxText_ = std::move(text);
    if (auto number = parseNumber(listMaxText_))
        listMaxNumber_ = *number;
}

void Settings::setIconHeightText(std::string text) {
    iconHeightText_ = std::move(text);
    if (auto number = parseNumber(iconHeightText_))
        iconHeightNumber_ = *number;
}

// Below one it counts as one, so that no setting (a file, a box half typed) can empty the
// history.
int16_t Settings::listMax() const {
    return std::max<int16_t>(1, roundClampedToInt16(listMaxNumber_));
}

double Settings::listMaxNumber() const {
    return std::max(1.0, listMaxNumber_);
}

int16_t Settings::iconHeight() const {
    return roundClampedToInt16(iconHeightNumber_);
}

void Settings::setListSpin(int position) {
    position = std::clamp(position, kListSpinMin, kListSpinMax);
    if (position == listSpin_)
        return;
    listSpin_ = position;
    onListSpinMoved();
}

void Settings::setIconSpin(int position) {
    position = std::clamp(position, kIconSpinMin, kIconSpinMax);
    if (position == iconSpin_)
        return;
    iconSpin_ = position;
    onIconSpinMoved();
}

void Settings::onListSpinMoved() {
    if (displayMode == DisplayMode::TextBoxes && listSpin_ > kMaxSlots) {
        setListSpin(kMaxSlots); // runs this handler again, nested
    }
    setListMaxText(std::to_string(listSpin_));
}

void Settings::onIconSpinMoved() {
    setIconHeightText(std::to_string(iconSpin_));
}

int usableSlotCount(const Settings &settings) {
    return std::min<int>(settings.listMax(), Settings::kMaxSlots);
}

namespace {
constexpr std::string_view kCallKeyLine = "hotkey=";
}

std::string Settings::callKey() const {
    for (const std::string &line : otherLines)
        if (line.starts_with(kCallKeyLine))
            return line.substr(kCallKeyLine.size());
    return "Ctrl+Alt+H";
}

void Settings::setCallKey(const std::string &keys) {
    const auto line = std::ranges::find_if(
        otherLines, [](const std::string &other) { return other.starts_with(kCallKeyLine); });
    if (line == otherLines.end())
        otherLines.push_back(std::string(kCallKeyLine) + keys);
    else
        *line = std::string(kCallKeyLine) + keys;
}

} // namespace kobako

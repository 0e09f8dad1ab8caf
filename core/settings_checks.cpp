#include "settings_checks.h"

#include "numbers.h"

namespace kobako {

CheckedNumbers checkNumbers(const Settings &settings) {
    const auto refuse = [](SettingsProblem problem, SettingsBox box,
                           const char *replacement = nullptr) {
        return CheckedNumbers{SettingsRefusal{problem, box, replacement}};
    };
    const auto listMax = parseNumber(settings.listMaxText());
    if (!listMax)
        return refuse(SettingsProblem::NotANumber, SettingsBox::ListMax);
    const auto iconHeight = parseNumber(settings.iconHeightText());
    if (!iconHeight)
        return refuse(SettingsProblem::NotANumber, SettingsBox::IconHeight);
    const auto listMaxValue = roundToInt16(*listMax);
    if (!listMaxValue || *listMaxValue < 1)
        return refuse(SettingsProblem::ListMaxOutOfRange, SettingsBox::ListMax);
    const auto iconHeightValue = roundToInt16(*iconHeight);
    if (!iconHeightValue || *iconHeightValue > Settings::kLargestIconHeight)
        return refuse(SettingsProblem::IconHeightTooLarge, SettingsBox::IconHeight);
    if (*iconHeightValue < Settings::kSmallestIconHeight)
        return refuse(SettingsProblem::IconHeightTooSmall, SettingsBox::IconHeight, "18");
    return {std::nullopt, *listMaxValue, *iconHeightValue};
}

std::optional<SettingsRefusal> checkTextSlotCount(const Settings &settings) {
    if (settings.isListMode() || settings.listMax() <= Settings::kMaxSlots)
        return std::nullopt;
    return SettingsRefusal{SettingsProblem::TooManyTextSlots, SettingsBox::ListMax, "10"};
}

} // namespace kobako

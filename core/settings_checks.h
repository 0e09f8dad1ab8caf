#pragma once

#include "settings.h"

#include <cstdint>
#include <optional>

namespace kobako {

// What the settings window's OK refuses, and in which box: the user is told why, the box may be
// set to a value that would pass, and it takes the focus.
enum class SettingsBox { ListMax, IconHeight };
enum class SettingsProblem {
    NotANumber,
    ListMaxOutOfRange,  // below 1 (it would empty the history) or beyond 16 bits
    IconHeightTooLarge, // above the largest caption
    IconHeightTooSmall, // below the smallest caption: set to it
    TooManyTextSlots    // more text slots than there are: set to ten
};
struct SettingsRefusal {
    SettingsProblem problem;
    SettingsBox box;
    const char *replacement = nullptr;
};

// The two numbers as OK takes them, or the first refusal in the order the boxes are checked.
struct CheckedNumbers {
    std::optional<SettingsRefusal> refusal;
    int16_t listMax = 0;
    int16_t iconHeight = 0;
};
CheckedNumbers checkNumbers(const Settings &settings);

// The number of text slots, checked once the list is gone (or the slots are already shown).
std::optional<SettingsRefusal> checkTextSlotCount(const Settings &settings);

} // namespace kobako

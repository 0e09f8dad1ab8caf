#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kobako {

// The window size file: two lines, height then width, in twips.
struct SavedSize {
    static constexpr float kDefaultHeight = 3540;
    static constexpr float kDefaultWidth = 3140;
    static constexpr float kSmallest = 200;

    float savedHeight = kDefaultHeight;
    float savedWidth = kDefaultWidth;
};

// Reads what the file holds (nothing when there is no file). Reading stops at the first line
// that is missing or not a number; any value below 200 twips gives way to its default.
SavedSize readSizeFile(std::optional<std::string_view> text);
std::string writeSizeFile(float height, float width);

} // namespace kobako

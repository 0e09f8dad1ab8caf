#pragma once

namespace kobako {

// Mouse buttons and modifier keys as the handlers compare them: a button is one value, the
// modifiers are a sum compared as a whole (Ctrl+Alt is neither Ctrl nor Alt).
namespace mouse {
constexpr int kLeft = 1;
constexpr int kRight = 2;
constexpr int kMiddle = 4;

constexpr int kNoKeys = 0;
constexpr int kShift = 1;
constexpr int kCtrl = 2;
constexpr int kAlt = 4;
constexpr int kOtherKey = 8; // a key the handlers know nothing of, such as Super
} // namespace mouse

} // namespace kobako

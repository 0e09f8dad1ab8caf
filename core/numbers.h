#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kobako {

// The number test of the settings window and of every reader of a stored number: blanks around
// the number, an optional sign, decimal digits with an optional fraction and exponent. Hex forms
// ("&H10") and full-width digits are not numbers.
std::optional<double> parseNumber(std::string_view text);

// Nearest integer with halves going to the even neighbour; nothing when the result does not fit
// in 16 bits.
std::optional<int16_t> roundToInt16(double value);

// parseNumber followed by roundToInt16.
std::optional<int16_t> parseInt16(std::string_view text);

// Like roundToInt16, but a value beyond the 16-bit range gives the nearest end of that range.
int16_t roundClampedToInt16(double value);

// The print form of a number: a blank in place of the sign of a non-negative value (a minus sign
// otherwise), the shortest digits that give the value back as a single-precision float, and a
// trailing blank: 3540 gives " 3540 ".
std::string printNumber(float value);

} // namespace kobako

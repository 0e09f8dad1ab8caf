#pragma once

// Decoding CP932 (Shift_JIS as Windows writes it), with the system's own converter.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kobako {

inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD"; // U+FFFD in UTF-8

struct Cp932Decoded {
    std::string text;       // UTF-8
    size_t undecodable = 0; // bytes that started no character, each now U+FFFD
};

// Nothing where the system cannot convert from CP932.
std::optional<Cp932Decoded> fromCp932(std::string_view bytes);

} // namespace kobako

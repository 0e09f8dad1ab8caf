#include "core/numbers.h"

#include <gtest/gtest.h>

namespace kobako {
namespace {

struct ParseCase {
    const char *text;
    std::optional<int16_t> expected;
};

TEST(Numbers, ParseInt16RoundsHalvesToEvenAndRefusesWhatIsNoNumber) {
    using P = ParseCase;
    const std::optional<int16_t> no;
    // A full-width 5 is no number; too small for a double is zero, not infinity.
    // clang-format off
    for (const ParseCase &c : {
        P{"5", 5}, P{" 7 ", 7}, P{"2.5", 2}, P{"3.5", 4}, P{"-2.5", -2}, P{"+3", 3},
        P{".5", 0}, P{"1e3", 1000}, P{"32767", 32767}, P{"-32768", -32768},
        P{"32767.5", no}, P{"32768", no}, P{"-32769", no}, P{"", no}, P{"abc", no},
        P{"&H10", no}, P{"\xEF\xBC\x95", no}, P{"5a", no}, P{"--1", no}, P{"1 2", no},
        P{"1e999", no}, P{"1e-400", 0}, P{"1000e-1000", 0}, P{"0.001e400", no}}) {
        // clang-format on
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseInt16(c.text), c.expected);
    }
}

} // namespace
} // namespace kobako

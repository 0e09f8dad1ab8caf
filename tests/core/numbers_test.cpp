#include "core/numbers.h"

#include <gtest/gtest.h>

namespace kobako {
namespace {

struct ParseCase {
    const char *text;
    std::optional<int16_t> expected;
};

TEST(Numbers, ParseInt16RoundsHalvesToEvenAndRefusesWhatIsNoNumber) {
    const ParseCase cases[] = {
        {"5", 5},
        {" 7 ", 7},
        {"2.5", 2},
        {"3.5", 4},
        {"-2.5", -2},
        {"+3", 3},
        {".5", 0},
        {"1e3", 1000},
        {"32767", 32767},
        {"-32768", -32768},
        {"32767.5", std::nullopt},
        {"32768", std::nullopt},
        {"-32769", std::nullopt},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"&H10", std::nullopt},
        {"\xEF\xBC\x95", std::nullopt}, // full-width 5
        {"5a", std::nullopt},
        {"--1", std::nullopt},
        {"1 2", std::nullopt},
        {"1e999", std::nullopt},
        // Too small for a double is zero, not infinity.
        {"1e-400", 0},
        {"1000e-1000", 0},
        {"0.001e400", std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseInt16(c.text), c.expected);
    }
}

TEST(Numbers, ClampedReadingKeepsTheEndOfTheRange) {
    EXPECT_EQ(roundClampedToInt16(1e9), 32767);
    EXPECT_EQ(roundClampedToInt16(-1e9), -32768);
    EXPECT_EQ(roundClampedToInt16(0.5), 0);
}

TEST(Numbers, PrintFormHasABlankForTheSignAndATrailingBlank) {
    EXPECT_EQ(printNumber(3540), " 3540 ");
    EXPECT_EQ(printNumber(1), " 1 ");
    EXPECT_EQ(printNumber(0), " 0 ");
    EXPECT_EQ(printNumber(-15), "-15 ");
    EXPECT_EQ(printNumber(3540.5f), " 3540.5 ");
    // The shortest digits that read back as the same single.
    EXPECT_EQ(static_cast<float>(parseNumber(printNumber(1234.567f)).value()), 1234.567f);
}

} // namespace
} // namespace kobako

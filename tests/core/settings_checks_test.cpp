#include "core/settings_checks.h"

#include <gtest/gtest.h>

#include <string>

namespace kobako {
namespace {

// The first refusal, in the order OK checks the boxes, and the value each box is put right with.
TEST(SettingsChecks, OkRefusesTheFirstBadBoxInOrder) {
    using P = SettingsProblem;
    using B = SettingsBox;
    struct Case {
        const char *listMax;
        const char *iconHeight;
        std::optional<P> problem;
        B box = B::ListMax;
        const char *replacement = "";
    };
    const Case cases[] = {
        {"5", "18", std::nullopt},
        {"abc", "x", P::NotANumber, B::ListMax},
        {"5", "", P::NotANumber, B::IconHeight},
        {"0.4", "18", P::ListMaxOutOfRange, B::ListMax}, // rounds to 0: would empty the history
        {"0.6", "18", std::nullopt},                     // rounds to 1
        {"40000", "18", P::ListMaxOutOfRange, B::ListMax},
        {"5", "61", P::IconHeightTooLarge, B::IconHeight},
        {"5", "17", P::IconHeightTooSmall, B::IconHeight, "18"},
        {"-1", "17", P::ListMaxOutOfRange, B::ListMax},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.listMax) + " / " + c.iconHeight);
        Settings settings;
        settings.setListMaxText(c.listMax);
        settings.setIconHeightText(c.iconHeight);
        const CheckedNumbers checked = checkNumbers(settings);
        ASSERT_EQ(checked.refusal.has_value(), c.problem.has_value());
        if (!c.problem)
            continue;
        EXPECT_EQ(checked.refusal->problem, *c.problem);
        EXPECT_EQ(checked.refusal->box, c.box);
        EXPECT_STREQ(checked.refusal->replacement ? checked.refusal->replacement : "",
                     c.replacement);
    }
}

TEST(SettingsChecks, AtMostTenTextSlots) {
    Settings settings;
    settings.setListMaxText("12");
    EXPECT_FALSE(checkTextSlotCount(settings)); // the list holds any number
    settings.displayMode = DisplayMode::TextBoxes;
    const auto refusal = checkTextSlotCount(settings);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->problem, SettingsProblem::TooManyTextSlots);
    EXPECT_STREQ(refusal->replacement, "10");
    settings.setListMaxText("10");
    EXPECT_FALSE(checkTextSlotCount(settings));
}

} // namespace
} // namespace kobako

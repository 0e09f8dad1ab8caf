#include "core/settings_checks.h"

#include <gtest/gtest.h>

#include <string>

namespace kobako {
namespace {

// The first refusal, in the order OK checks the boxes, and the value each box is put right with.
TEST(SettingsChecks, OkRefusesTheFirstBadBoxInOrder) {
    using enum SettingsProblem;
    using B = SettingsBox;
    struct Case {
        const char *listMax, *iconHeight;
        std::optional<SettingsProblem> problem;
        B box = B::ListMax;
        const char *replacement = "";
    };
    // 0.4 rounds to 0, which would empty the history; 0.6 rounds to 1.
    // clang-format off
    for (const Case &c : {
        Case{"5", "18", std::nullopt}, Case{"abc", "x", NotANumber, B::ListMax},
        Case{"5", "", NotANumber, B::IconHeight}, Case{"0.4", "18", ListMaxOutOfRange},
        Case{"0.6", "18", std::nullopt}, Case{"40000", "18", ListMaxOutOfRange},
        Case{"5", "61", IconHeightTooLarge, B::IconHeight},
        Case{"5", "17", IconHeightTooSmall, B::IconHeight, "18"},
        Case{"-1", "17", ListMaxOutOfRange}}) {
        // clang-format on
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

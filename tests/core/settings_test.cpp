#include "core/settings.h"

#include <gtest/gtest.h>

namespace kobako {
namespace {

// The list maximum is read from the box's text at each use; half-typed text keeps the last
// number, so the history is never trimmed by a keystroke.
TEST(Settings, TheListMaximumIsReadFromTheTextAtEachUse) {
    Settings settings;
    // Never below one, which would empty the history at the next copy.
    // clang-format off
    for (auto [text, read] : {std::pair{" 7 ", 7}, {"2.5", 2}, {"3.5", 4}, {"99999", 32767},
                              {"0", 1}, {"-5", 1}, {"0.4", 1}, {"12", 12}, {"", 12}, {"1x", 12}}) {
        // clang-format on
        settings.setListMaxText(text);
        EXPECT_EQ(settings.listMax(), read) << text;
    }
}

// A spin writes its box only when its position changes, and stops at its ends: ten slots at
// most in text-box mode.
TEST(Settings, TheCallKeyIsTheFirstHotkeyLineOrCtrlAltH) {
    Settings settings;
    EXPECT_EQ(settings.callKey(), "Ctrl+Alt+H");
    settings.otherLines = {"paste-keystroke.x=Ctrl+V", "hotkey=", "hotkey=Ctrl+Alt+K"};
    EXPECT_EQ(settings.callKey(), ""); // none
    settings.setCallKey("Meta+V");     // the line that held
    EXPECT_EQ(settings.otherLines[1], "hotkey=Meta+V");
    EXPECT_EQ(settings.callKey(), "Meta+V");
}

TEST(Settings, SpinsWriteTheirBoxWithinTheirRange) {
    Settings settings;
    settings.setListSpin(1); // already at 1: the box keeps "5"
    EXPECT_EQ(settings.listMaxText(), "5");
    settings.setListSpin(60);
    EXPECT_EQ(settings.listMaxText(), "50");
    settings.displayMode = DisplayMode::TextBoxes;
    settings.setListSpin(11);
    EXPECT_EQ(settings.listSpin(), 10);
    EXPECT_EQ(settings.listMaxText(), "10");
    settings.setIconSpin(31);
    EXPECT_EQ(settings.iconHeightText(), "30");
    settings.setIconSpin(5);
    EXPECT_EQ(settings.iconHeightText(), "10");
}

} // namespace
} // namespace kobako

#include "core/settings.h"

#include <gtest/gtest.h>

namespace kobako {
namespace {

TEST(Settings, ReadersConvertTheTextAtEachUse) {
    Settings settings;
    settings.setListMaxText(" 7 ");
    EXPECT_EQ(settings.listMax(), 7);
    settings.setListMaxText("2.5");
    EXPECT_EQ(settings.listMax(), 2);
    EXPECT_DOUBLE_EQ(settings.listMaxNumber(), 2.5);
    settings.setListMaxText("3.5");
    EXPECT_EQ(settings.listMax(), 4);
    settings.setListMaxText("99999");
    EXPECT_EQ(settings.listMax(), 32767);
    // Half-typed text keeps the last number, so the history is never trimmed by a keystroke.
    settings.setListMaxText("12");
    settings.setListMaxText("");
    EXPECT_EQ(settings.listMax(), 12);
    settings.setListMaxText("1x");
    EXPECT_EQ(settings.listMax(), 12);
}

TEST(Settings, ListSpinStopsAtTenInTextBoxMode) {
    Settings settings;
    settings.displayMode = DisplayMode::TextBoxes;
    settings.setListSpin(10);
    EXPECT_EQ(settings.listMaxText(), "10");
    settings.setListSpin(11);
    EXPECT_EQ(settings.listSpin(), 10);
    EXPECT_EQ(settings.listMaxText(), "10");

    settings.displayMode = DisplayMode::List;
    settings.setListSpin(60);
    EXPECT_EQ(settings.listSpin(), 50);
    EXPECT_EQ(settings.listMaxText(), "50");
}

TEST(Settings, SpinWritesOnlyWhenItsPositionChanges) {
    Settings settings;
    settings.setListSpin(1); // already at 1: the box keeps "5"
    EXPECT_EQ(settings.listMaxText(), "5");
    settings.setListSpin(2);
    EXPECT_EQ(settings.listMaxText(), "2");
    settings.setIconSpin(31);
    EXPECT_EQ(settings.iconHeightText(), "30");
    settings.setIconSpin(5);
    EXPECT_EQ(settings.iconHeightText(), "10");
}

} // namespace
} // namespace kobako

#include "core/layout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kobako {
namespace {

// The slots shown follow the list maximum (below one it counts as one: one slot, as high as the
// window allows), at a pitch from the heights the window system keeps: in whole pixels of 15
// twips, a height of 781 is kept as 780 and the pitch becomes 635.
TEST(SlotLayout, CountAndPitchFollowTheListMaximum) {
    struct Case {
        const char *listMax;
        int shown;
        float pitch;
        bool inPixels = false;
    };
    for (auto c : {Case{"10", 10, 318}, Case{"2.5", 2, 1272}, Case{"0", 1, 0}, Case{"-3", 1, 0},
                   Case{"0.4", 1, 0}, Case{"60", 10, 318}, Case{"5", 5, 635, true}}) {
        Settings settings;
        settings.displayMode = DisplayMode::TextBoxes;
        settings.setListMaxText(c.listMax);
        const auto slots = layoutSlots({3140, 3540, 18, 195}, settings, [&](float twips) {
            return c.inPixels ? std::round(twips / 15) * 15 : twips;
        });
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(slots[i].visible, i < c.shown) << c.listMax << " " << i;
        EXPECT_FLOAT_EQ(c.shown > 1 ? slots[1].text.top : slots[0].text.height,
                        c.shown > 1 ? c.pitch : 3540 - 360 + 110)
            << c.listMax;
    }
}

// Each position puts the window at its edge; unspecified is middle right the first time, and
// leaves the window where it is when a copy brings it back.
TEST(Placement, EachPositionPutsTheWindowAtItsEdge) {
    using enum AppearPosition;
    const float sw = 19200, sh = 10800, w = 3000, h = 2000;
    struct Case {
        AppearPosition position;
        float top, left;
    };
    for (auto c :
         {Case{TopRight, 0, sw - w}, Case{MiddleRight, 4400, sw - w},
          Case{BottomRight, sh - h, sw - w}, Case{TopLeft, 0, 0}, Case{MiddleLeft, 4400, 0},
          Case{BottomLeft, sh - h, 0}, Case{Unspecified, 4400, sw - w}}) {
        for (auto kind : {PlacementKind::FirstPlacement, PlacementKind::Capture}) {
            const auto at = appearAt(c.position, kind, sw, sh, w, h);
            if (c.position == Unspecified && kind == PlacementKind::Capture) {
                EXPECT_FALSE(at);
                continue;
            }
            ASSERT_TRUE(at);
            EXPECT_FLOAT_EQ(at->top, c.top);
            EXPECT_FLOAT_EQ(at->left, c.left);
        }
    }
}

} // namespace
} // namespace kobako

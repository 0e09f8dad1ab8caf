#include "core/layout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kobako {
namespace {

const auto kExact = [](float twips) { return twips; };

std::array<SlotPlacement, 10> layoutFor(const char *listMax, float height = 3540,
                                        float width = 3140,
                                        std::function<float(float)> stored = kExact) {
    Settings settings;
    settings.displayMode = DisplayMode::TextBoxes;
    settings.setListMaxText(listMax);
    return layoutSlots({width, height, 18, 195}, settings, stored);
}

TEST(SlotLayout, CountFollowsTheListMaximum) {
    struct Case {
        const char *listMax;
        int shown;
        float pitch;
    };
    // Below one the maximum counts as one: one slot, as high as the window allows.
    for (auto c : {Case{"10", 10, 318}, Case{"2.5", 2, 1272}, Case{"0", 1, 0}, Case{"-3", 1, 0},
                   Case{"0.4", 1, 0}, Case{"60", 10, 318}}) {
        SCOPED_TRACE(c.listMax);
        const auto textSlots = layoutFor(c.listMax);
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(textSlots[i].visible, i < c.shown) << i;
        if (c.shown > 1) {
            EXPECT_FLOAT_EQ(textSlots[1].text.top, c.pitch);
        } else {
            EXPECT_FLOAT_EQ(textSlots[0].text.height, 3540 - 360 + 110);
        }
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

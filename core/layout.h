#pragma once

#include "settings.h"

#include <array>
#include <functional>
#include <optional>

namespace kobako {

// Window geometry is computed in twips (1/1440 inch) as single-precision floats.
struct TopLeft {
    float top;
    float left;
};

// Where a window of size width x height goes on a screen of screenWidth x screenHeight for
// `position`. `Unspecified` leaves it where it is when a capture brings the window back, but the
// first placement at start-up treats it as middle right.
enum class PlacementKind { FirstPlacement, Capture };
std::optional<TopLeft> appearAt(AppearPosition position, PlacementKind kind, float screenWidth,
                                float screenHeight, float width, float height);

struct SlotBox {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

struct SlotPlacement {
    bool visible = false;
    // Text box and check box geometry; only meaningful while visible, otherwise left alone.
    SlotBox text;
    float checkLeft = 0;
    float checkTop = 0;
};

// The stacked slots for a window of outer size formWidth x formHeight. `storedHeight` gives back
// what the window system keeps of a height that was set (whole pixels), so positions follow the
// heights the text boxes really get.
struct SlotLayoutInput {
    float formWidth;
    float formHeight;
    int captionButtonHeight;
    float checkWidth;
};
std::array<SlotPlacement, Settings::kMaxSlots>
layoutSlots(const SlotLayoutInput &input, const Settings &settings,
            const std::function<float(float)> &storedHeight);

} // namespace kobako

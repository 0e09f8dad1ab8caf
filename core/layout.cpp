#include "layout.h"

namespace kobako {

std::optional<TopLeft> appearAt(AppearPosition position, PlacementKind kind, float screenWidth,
                                float screenHeight, float width, float height) {
    const float middle = screenHeight / 2 - height / 2;
    const float right = screenWidth - width;
    switch (position) {
    case AppearPosition::TopRight:
        return TopLeft{0, right};
    case AppearPosition::MiddleRight:
        return TopLeft{middle, right};
    case AppearPosition::BottomRight:
        return TopLeft{screenHeight - height, right};
    case AppearPosition::TopLeft:
        return TopLeft{0, 0};
    case AppearPosition::MiddleLeft:
        return TopLeft{middle, 0};
    case AppearPosition::BottomLeft:
        return TopLeft{screenHeight - height, 0};
    case AppearPosition::Unspecified:
        if (kind == PlacementKind::FirstPlacement)
            return TopLeft{middle, right};
        return std::nullopt;
    }
    return std::nullopt;
}

std::array<SlotPlacement, Settings::kMaxSlots>
layoutSlots(const SlotLayoutInput &input, const Settings &settings,
            const std::function<float(float)> &storedHeight) {
    std::array<SlotPlacement, Settings::kMaxSlots> placements{};
    const int shown = usableSlotCount(settings);
    // A list maximum above ten acts as ten: the pitch divides the window among the slots shown.
    const float divisor = settings.listMax() > Settings::kMaxSlots
                              ? static_cast<float>(Settings::kMaxSlots)
                              : static_cast<float>(settings.listMaxNumber());
    const float allowance = static_cast<float>(input.captionButtonHeight) * 20;
    const float pitch = (input.formHeight - allowance) / divisor;
    for (int i = 0; i < shown; ++i) {
        SlotPlacement &slot = placements[i];
        float height = storedHeight(pitch + 145);
        const float top = (height - 145) * static_cast<float>(i);
        if (i == shown - 1)
            height = storedHeight(height - 35);
        slot.visible = true;
        slot.text = {input.checkWidth + 30, top, input.formWidth - input.checkWidth, height};
        slot.checkLeft = 0;
        slot.checkTop = top;
    }
    return placements;
}

} // namespace kobako

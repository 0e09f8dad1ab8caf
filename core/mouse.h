#pragma once

namespace kobako {

// The mouse button a gesture is made with.
enum class MouseButton { Other, Left, Right, Middle };

// The modifier keys held during a gesture, as the gestures tell them apart: none, Ctrl alone, Alt
// alone, or anything else (Shift, Ctrl+Alt, Super...), which is no gesture.
enum class Modifiers { None, Ctrl, Alt, Other };

constexpr Modifiers modifiersHeld(bool shift, bool ctrl, bool alt, bool other) {
    if (shift || other || (ctrl && alt))
        return Modifiers::Other;
    return ctrl ? Modifiers::Ctrl : alt ? Modifiers::Alt : Modifiers::None;
}

} // namespace kobako

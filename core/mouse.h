#pragma once

namespace kobako {

// The mouse button a gesture is made with.
enum class MouseButton { Other, Left, Right, Middle };

// The modifier keys held during a gesture, as the gestures tell them apart: none, Ctrl alone, Alt
// or Shift alone (join all: most window managers take Alt+click for moving windows, so Shift does
// the same), or anything else (Ctrl+Alt, Shift+Alt, Super...), which is no gesture.
enum class Modifiers { None, Ctrl, Alt, Other };

constexpr Modifiers modifiersHeld(bool shift, bool ctrl, bool alt, bool other) {
    if (other || int(shift) + int(ctrl) + int(alt) > 1)
        return Modifiers::Other;
    return ctrl ? Modifiers::Ctrl : alt || shift ? Modifiers::Alt : Modifiers::None;
}

} // namespace kobako

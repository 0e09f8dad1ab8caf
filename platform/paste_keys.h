#pragma once

#include "paste_after_pick.h"

#include <optional>

// What each system does for a paste after a pick.
namespace kobako::platform::paste_keys {

std::optional<PasteBlocker> blocker();
// A mouse button or a modifier key is held down.
bool inputHeld();
// A window of another program has the keyboard.
bool anotherProgramTypes();
void sendPasteKeystroke();

} // namespace kobako::platform::paste_keys

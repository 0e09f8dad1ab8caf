#pragma once

#include "paste_after_pick.h"

// What each system does for a paste after a pick (pasteBlocker too is each system's own).
namespace kobako::platform::paste_keys {

// A mouse button or a modifier key is held down.
bool inputHeld();
// A window of another program has the keyboard.
bool anotherProgramTypes();
// Makes that program paste `text`.
void paste(const SharedText &text, const PickPaster::KeystrokeChoice &choose);

} // namespace kobako::platform::paste_keys

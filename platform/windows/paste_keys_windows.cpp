// The paste after a pick on Windows: SendInput types Ctrl+V into the foreground window.
#include "platform/paste_after_pick.h"
#include "platform/paste_keys.h"

#include <windows.h>

#include <array>

namespace kobako::platform {

std::optional<PasteBlocker> pasteBlocker() {
    return std::nullopt;
}

void prepareToPaste() {} // SendInput needs nothing made first

} // namespace kobako::platform

namespace kobako::platform::paste_keys {

bool inputHeld() {
    for (int key :
         {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN, VK_LBUTTON, VK_RBUTTON, VK_MBUTTON})
        if (GetAsyncKeyState(key) & 0x8000)
            return true;
    return false;
}

bool anotherProgramTypes() {
    HWND foreground = GetForegroundWindow();
    DWORD process = 0;
    return foreground && GetWindowThreadProcessId(foreground, &process) &&
           process != GetCurrentProcessId();
}

// Ctrl+V pastes the clipboard, which holds the text already.
void paste(const SharedText &, const PickPaster::KeystrokeChoice &) {
    std::array<INPUT, 4> keys{};
    const WORD order[] = {VK_CONTROL, 'V', 'V', VK_CONTROL};
    for (size_t i = 0; i < keys.size(); ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = order[i];
        keys[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
    }
    SendInput(keys.size(), keys.data(), sizeof(INPUT));
}

} // namespace kobako::platform::paste_keys

// The key registered with Windows, which posts WM_HOTKEY to the program's thread whichever
// window has the keyboard.
#include "platform/global_key.h"

#include <windows.h>

namespace kobako::platform {

namespace {

constexpr int kKeyId = 1;

} // namespace

const GlobalKey::ModifierMasks GlobalKey::kMasks{MOD_SHIFT, MOD_CONTROL, MOD_ALT, MOD_WIN};

// The virtual key of a letter, digit or function key.
std::optional<uint32_t> GlobalKey::systemKeyOf(int key) {
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return VK_F1 + (key - Qt::Key_F1);
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return key; // their virtual keys are their ASCII codes
    return std::nullopt;
}

std::optional<QString> GlobalKey::grab(const QString &keys, uint32_t virtualKey,
                                       const Combination &combination) {
    if (!RegisterHotKey(nullptr, kKeyId, combination.modifiers | MOD_NOREPEAT, virtualKey))
        return heldElsewhere(keys);
    taken_ = Taken{virtualKey, combination.modifiers};
    return std::nullopt;
}

void GlobalKey::letGo() {
    if (taken_)
        UnregisterHotKey(nullptr, kKeyId);
    taken_.reset();
}

bool GlobalKey::nativeEventFilter(const QByteArray &type, void *message, qintptr *) {
    const auto *msg = static_cast<const MSG *>(message);
    if (!taken_ || type != "windows_generic_MSG" || msg->message != WM_HOTKEY ||
        msg->wParam != kKeyId)
        return false;
    emit pressed();
    return true;
}

} // namespace kobako::platform

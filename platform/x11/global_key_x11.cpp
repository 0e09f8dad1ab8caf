// The key grabbed on the root window: every window's keys pass there first, so the X server
// hands the key to the program whichever window has the keyboard.
#include "platform/global_key.h"

#include "keyboard_map.h"
#include "platform/wayland/shortcuts_portal.h"
#include "qt_x11.h"
#include "reply.h"

#include <cstdlib>

namespace kobako::platform {

namespace {

// Num Lock (Mod2) and Caps Lock change the modifiers a key arrives with: each is grabbed too.
constexpr uint16_t kLocks[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                               XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
constexpr uint16_t kModifierBits = 0xff;

} // namespace

const GlobalKey::ModifierMasks GlobalKey::kMasks{XCB_MOD_MASK_SHIFT, XCB_MOD_MASK_CONTROL,
                                                 XCB_MOD_MASK_1, XCB_MOD_MASK_4};

// The keysym of a letter, digit, punctuation key or function key.
std::optional<uint32_t> GlobalKey::systemKeyOf(int key) {
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return 0xffbe + (key - Qt::Key_F1); // XK_F1 onwards
    if (key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde)
        return QChar(key).toLower().unicode(); // Latin-1 keysyms are the code
    return std::nullopt;
}

std::optional<QString> GlobalKey::grab(const QString &keys, uint32_t keysym,
                                       const Combination &combination) {
    // A Wayland desktop is asked too, where the session has a bus (without one, D-Bus would
    // start a bus of its own for the program).
    if (std::getenv("WAYLAND_DISPLAY") && std::getenv("DBUS_SESSION_BUS_ADDRESS")) {
        if (!portal_) {
            portal_ = new ShortcutsPortal(this);
            connect(portal_, &ShortcutsPortal::activated, this, &GlobalKey::pressed);
        }
        portal_->bind(combination.keys);
    }
    xcb_connection_t *x11 = x11Connection();
    if (!x11)
        return std::nullopt;
    const auto codes = keysOf(x11, {keysym});
    if (!codes)
        return noKey(keys);
    const Taken taken{codes->front(), combination.modifiers};
    bool refused = false;
    for (const uint16_t locks : kLocks) {
        const auto grab = xcb_grab_key_checked(
            x11, 1, rootOf(x11), static_cast<uint16_t>(taken.modifiers | locks),
            static_cast<xcb_keycode_t>(taken.key), XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        refused |= own(xcb_request_check(x11, grab)) != nullptr;
    }
    taken_ = taken;
    if (!refused)
        return std::nullopt;
    letGo(); // what was granted of it would only take the key from the program holding it
    return heldElsewhere(keys);
}

void GlobalKey::letGo() {
    if (portal_)
        portal_->letGo();
    xcb_connection_t *x11 = x11Connection();
    if (!taken_ || !x11)
        return;
    for (const uint16_t locks : kLocks)
        xcb_ungrab_key(x11, static_cast<xcb_keycode_t>(taken_->key), rootOf(x11),
                       static_cast<uint16_t>(taken_->modifiers | locks));
    xcb_flush(x11);
    taken_.reset();
}

// Qt sees the key too (it learns the time of the user's last key from it, which activating the
// window needs); the signal follows once it has.
bool GlobalKey::nativeEventFilter(const QByteArray &type, void *message, qintptr *) {
    if (!taken_ || type != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_KEY_PRESS)
        return false;
    const auto *press = reinterpret_cast<const xcb_key_press_event_t *>(event);
    const uint16_t held = press->state & kModifierBits & ~(XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2);
    if (press->detail == taken_->key && held == taken_->modifiers)
        QMetaObject::invokeMethod(this, &GlobalKey::pressed, Qt::QueuedConnection);
    return false;
}

} // namespace kobako::platform

// The paste after a pick on the Linux desktop: Shift+Insert, which pastes in Qt, GTK, browsers
// and office programs (the clipboard) and in terminals (the primary selection). The XTEST
// extension types it over X11, or the keystroke the settings name for the window's class; on a
// Wayland desktop the compositor types it, into a window whose class it does not tell.
#include "platform/paste_after_pick.h"
#include "platform/paste_keys.h"

#include "keyboard_map.h"
#include "qt_x11.h"
#include "reply.h"

#ifdef KOBAKO_WAYLAND
#include "platform/wayland/clipboard.h"
#endif

#include <QClipboard>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace kobako::platform::paste_keys {

namespace {

constexpr xcb_keysym_t kShiftL = 0xffe1;
constexpr xcb_keysym_t kControlL = 0xffe3;
constexpr xcb_keysym_t kInsert = 0xff63;
constexpr xcb_keysym_t kV = 0x76;

// The keys of a keystroke, in the order they are pressed.
std::vector<xcb_keysym_t> keysymsOf(PasteKeystroke keystroke) {
    switch (keystroke) {
    case PasteKeystroke::CtrlV:
        return {kControlL, kV};
    case PasteKeystroke::CtrlShiftV:
        return {kControlL, kShiftL, kV};
    case PasteKeystroke::ShiftInsert:
        break;
    }
    return {kShiftL, kInsert};
}

// WM_CLASS (instance and class) of the top-level window holding `window`, which may be one of
// its children: a window manager's frame holds no class and is passed on the way up.
std::vector<std::string> windowClassOf(xcb_connection_t *connection, xcb_window_t window) {
    const xcb_window_t root = rootOf(connection);
    while (window != XCB_NONE && window != root) {
        const auto property = own(xcb_get_property_reply(
            connection,
            xcb_get_property(connection, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256),
            nullptr));
        if (property && xcb_get_property_value_length(property.get()) > 0) {
            const auto *bytes = static_cast<const char *>(xcb_get_property_value(property.get()));
            const std::string value(bytes, xcb_get_property_value_length(property.get()));
            std::vector<std::string> parts;
            for (size_t start = 0; start < value.size();) {
                const size_t end = std::min(value.find('\0', start), value.size());
                parts.push_back(value.substr(start, end - start));
                start = end + 1;
            }
            return parts;
        }
        const auto tree =
            own(xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
        window = tree ? tree->parent : XCB_NONE;
    }
    return {};
}

void fake(xcb_connection_t *connection, uint8_t type, xcb_keycode_t key) {
    xcb_test_fake_input(connection, type, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
}

#ifdef KOBAKO_WAYLAND
WaylandClipboard *compositor = nullptr;
#endif

// The compositor types when the program runs on a Wayland desktop (also as an X program through
// XWayland, whose XTEST reaches X programs only).
bool onWayland() {
    return std::getenv("WAYLAND_DISPLAY") != nullptr;
}

} // namespace

} // namespace kobako::platform::paste_keys

namespace kobako::platform {

#ifdef KOBAKO_WAYLAND
void typeThroughCompositor(WaylandClipboard &clipboard) {
    paste_keys::compositor = &clipboard;
}
#endif

void prepareToPaste() {
#ifdef KOBAKO_WAYLAND
    if (paste_keys::onWayland() && paste_keys::compositor)
        paste_keys::compositor->prepareTyping();
#endif
}

std::optional<PasteBlocker> pasteBlocker() {
#ifdef KOBAKO_WAYLAND
    if (paste_keys::onWayland() && paste_keys::compositor && paste_keys::compositor->types())
        return std::nullopt;
#endif
    if (paste_keys::onWayland())
        return PasteBlocker::Wayland;
    xcb_connection_t *x11 = x11Connection();
    if (!x11 || !xcb_get_extension_data(x11, &xcb_test_id)->present)
        return PasteBlocker::NoKeystrokes;
    return std::nullopt;
}

} // namespace kobako::platform

namespace kobako::platform::paste_keys {

bool inputHeld() {
    xcb_connection_t *x11 = x11Connection();
    if (!x11)
        return false;
    const auto pointer =
        own(xcb_query_pointer_reply(x11, xcb_query_pointer(x11, rootOf(x11)), nullptr));
    // Caps Lock and Num Lock (Lock, Mod2) stay on; Mod3 is rarely a key at all.
    constexpr uint16_t kHeld = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 |
                               XCB_MOD_MASK_4 | XCB_MOD_MASK_5 | XCB_BUTTON_MASK_1 |
                               XCB_BUTTON_MASK_2 | XCB_BUTTON_MASK_3 | XCB_BUTTON_MASK_4 |
                               XCB_BUTTON_MASK_5;
    return pointer && (pointer->mask & kHeld);
}

bool anotherProgramTypes() {
    xcb_connection_t *x11 = x11Connection();
    if (!x11)
        return false;
    const auto focus = inputFocus(x11);
    if (!focus)
        return false;
    // On a Wayland desktop a Wayland program may have the keyboard while no X window has it.
    if (!onWayland() && (*focus == XCB_NONE || *focus == XCB_INPUT_FOCUS_POINTER_ROOT))
        return false;
    return !isOwnWindow(*focus);
}

void paste(const SharedText &text, const PickPaster::KeystrokeChoice &choose) {
#ifdef KOBAKO_WAYLAND
    if (onWayland() && compositor)
        return compositor->paste(text);
#endif
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection())
        clipboard->setText(QString::fromStdString(text.str()), QClipboard::Selection);
    xcb_connection_t *x11 = x11Connection();
    const auto focus = inputFocus(x11);
    const auto keys = keysOf(
        x11, keysymsOf(choose(focus ? windowClassOf(x11, *focus) : std::vector<std::string>())));
    if (!keys)
        return;
    for (const xcb_keycode_t key : *keys)
        fake(x11, XCB_KEY_PRESS, key);
    for (auto key = keys->rbegin(); key != keys->rend(); ++key)
        fake(x11, XCB_KEY_RELEASE, *key);
    xcb_flush(x11);
}

} // namespace kobako::platform::paste_keys

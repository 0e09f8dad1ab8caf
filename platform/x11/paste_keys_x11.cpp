// The paste after a pick on the Linux desktop: Shift+Insert, which pastes in Qt, GTK, browsers
// and office programs (the clipboard) and in terminals (the primary selection). The XTEST
// extension types it over X11; on a Wayland desktop the compositor does.
#include "platform/paste_after_pick.h"
#include "platform/paste_keys.h"

#include "qt_x11.h"
#include "reply.h"

#ifdef KOBAKO_WAYLAND
#include "platform/wayland/clipboard.h"
#endif

#include <QClipboard>
#include <QWindow>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cstdlib>

namespace kobako::platform::paste_keys {

namespace {

constexpr xcb_keysym_t kShiftL = 0xffe1;
constexpr xcb_keysym_t kInsert = 0xff63;

// The key that gives `keysym` without a shift, from the server's keyboard map.
std::optional<xcb_keycode_t> keyOf(xcb_connection_t *connection, xcb_keysym_t keysym) {
    const xcb_setup_t *setup = xcb_get_setup(connection);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const auto map = own(xcb_get_keyboard_mapping_reply(
        connection, xcb_get_keyboard_mapping(connection, setup->min_keycode, count), nullptr));
    if (!map || map->keysyms_per_keycode == 0)
        return std::nullopt;
    const xcb_keysym_t *keysyms = xcb_get_keyboard_mapping_keysyms(map.get());
    for (int i = 0; i < count; ++i)
        if (keysyms[i * map->keysyms_per_keycode] == keysym)
            return static_cast<xcb_keycode_t>(setup->min_keycode + i);
    return std::nullopt;
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
    const auto focus = own(xcb_get_input_focus_reply(x11, xcb_get_input_focus(x11), nullptr));
    if (!focus)
        return false;
    // On a Wayland desktop a Wayland program may have the keyboard while no X window has it.
    if (!onWayland() && (focus->focus == XCB_NONE || focus->focus == XCB_INPUT_FOCUS_POINTER_ROOT))
        return false;
    for (const QWindow *window : QGuiApplication::topLevelWindows())
        if (window->handle() && window->winId() == focus->focus)
            return false;
    return true;
}

void paste(const SharedText &text) {
#ifdef KOBAKO_WAYLAND
    if (onWayland() && compositor)
        return compositor->paste(text);
#endif
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection())
        clipboard->setText(QString::fromStdString(text.str()), QClipboard::Selection);
    xcb_connection_t *x11 = x11Connection();
    const auto shift = keyOf(x11, kShiftL);
    const auto insert = keyOf(x11, kInsert);
    if (!shift || !insert)
        return;
    fake(x11, XCB_KEY_PRESS, *shift);
    fake(x11, XCB_KEY_PRESS, *insert);
    fake(x11, XCB_KEY_RELEASE, *insert);
    fake(x11, XCB_KEY_RELEASE, *shift);
    xcb_flush(x11);
}

} // namespace kobako::platform::paste_keys

#include "window_manager.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace kobako::platform {

namespace {

xcb_atom_t atom(xcb_connection_t *connection, const char *name) {
    auto *reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t value = reply ? reply->atom : XCB_NONE;
    std::free(reply);
    return value;
}

} // namespace

void requestKeepAbove(QWidget &window, bool above) {
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection || !window.isVisible() || !window.internalWinId())
        return;
    static const xcb_atom_t state = atom(connection, "_NET_WM_STATE");
    static const xcb_atom_t keepAbove = atom(connection, "_NET_WM_STATE_ABOVE");
    constexpr uint32_t kRemove = 0, kAdd = 1, kFromAnApplication = 1;
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = static_cast<xcb_window_t>(window.internalWinId());
    request.type = state;
    request.data.data32[0] = above ? kAdd : kRemove;
    request.data.data32[1] = keepAbove;
    request.data.data32[3] = kFromAnApplication;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&request));
    xcb_flush(connection);
}

void setTakesFocus(QWidget &window, bool takes) {
    Qt::WindowFlags flags = window.windowFlags();
    flags.setFlag(Qt::WindowDoesNotAcceptFocus, !takes);
    window.overrideWindowFlags(flags);
    if (QWindow *handle = window.windowHandle())
        handle->setFlags(flags);
}

} // namespace kobako::platform

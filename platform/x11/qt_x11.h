#pragma once

#include <QGuiApplication>

#include <xcb/xcb.h>

namespace kobako::platform {

// Qt's own connection to the X server; null where Qt does not run on X11.
inline xcb_connection_t *x11Connection() {
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

inline xcb_window_t rootOf(xcb_connection_t *connection) {
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

} // namespace kobako::platform

#pragma once

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>

namespace kobako::platform {

// Qt's own connection to the X server; null where Qt does not run on X11.
inline xcb_connection_t *x11Connection() {
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

inline xcb_window_t rootOf(xcb_connection_t *connection) {
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

// Whether `window` is one of the program's own top-level windows.
inline bool isOwnWindow(xcb_window_t window) {
    const auto windows = QGuiApplication::topLevelWindows();
    return std::ranges::any_of(
        windows, [window](const QWindow *top) { return top->handle() && top->winId() == window; });
}

} // namespace kobako::platform

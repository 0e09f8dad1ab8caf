#pragma once

#include "platform/twips.h"
#include "platform/window_manager.h"

#include <QWidget>
#include <QWindow>

namespace kobako::ui {

// Places a control as designed: left, top, width and height in twips.
inline void placeInTwips(QWidget *control, float left, float top, float width, float height) {
    using platform::toPixels;
    control->setGeometry(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

// Where the whole window, of the given frame, lies when centred on the screen's work area.
inline QPoint centredFrameOrigin(const QWidget &window, QMargins frame) {
    const QRect area = platform::workArea();
    const QSize outer = window.size().grownBy(frame);
    return area.topLeft() +
           QPoint((area.width() - outer.width()) / 2, (area.height() - outer.height()) / 2);
}

// Centres a window about to be shown, as the settings and version windows place themselves:
// the whole window, title bar and borders included. Its position is that of its client area,
// which a window manager keeps where it is asked before the window is shown. A window manager
// that tells its frame only once the window is mapped gets the window moved by what is left.
inline void centreOnScreen(QWidget &window) {
    const auto frame = platform::expectedFrame(window);
    const QMargins known = frame.value_or(QMargins());
    const QPoint asked = centredFrameOrigin(window, known) + QPoint(known.left(), known.top());
    window.move(asked);
    if (frame)
        return;
    // Measured on the server and moved as a client area: once Qt knows the frame, a widget's
    // position would mean the frame's.
    platform::whenFramed(window, [&window, asked](QMargins mapped) {
        const QPoint outerNow =
            platform::windowPosition(window) - QPoint(mapped.left(), mapped.top());
        if (QWindow *handle = window.windowHandle())
            handle->setPosition(asked + centredFrameOrigin(window, mapped) - outerNow);
    });
}

} // namespace kobako::ui

#include "centring.h"

#include "twips.h"
#include "window_manager.h"

#include <QWidget>
#include <QWindow>

namespace kobako::platform {

namespace {

// Where the whole window, of the given frame, lies when centred on the screen's work area.
QPoint centredFrameOrigin(const QWidget &window, QMargins frame) {
    const QRect area = workArea();
    const QSize outer = window.size().grownBy(frame);
    return area.topLeft() +
           QPoint((area.width() - outer.width()) / 2, (area.height() - outer.height()) / 2);
}

} // namespace

// A window's position is that of its client area, which a window manager keeps where it is asked
// before the window is shown. A window manager that tells its frame only once the window is
// mapped gets the window moved by what is left.
void centreOnScreen(QWidget &window) {
    const auto frame = expectedFrame(window);
    const QMargins known = frame.value_or(QMargins());
    const QPoint asked = centredFrameOrigin(window, known) + QPoint(known.left(), known.top());
    window.move(asked);
    if (frame)
        return;
    // Measured on the server and moved as a client area: once Qt knows the frame, a widget's
    // position would mean the frame's.
    whenFramed(window, [&window, asked](QMargins mapped) {
        const QPoint outerNow = windowPosition(window) - QPoint(mapped.left(), mapped.top());
        if (QWindow *handle = window.windowHandle())
            handle->setPosition(asked + centredFrameOrigin(window, mapped) - outerNow);
    });
}

} // namespace kobako::platform

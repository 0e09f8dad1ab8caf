#include "window_presence.h"

#include "window_manager.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace kobako::platform {

WindowPresence::WindowPresence(QWidget &window, Decisions decisions)
    : QObject(&window), window_(window), decisions_(std::move(decisions)) {}

void WindowPresence::handle(PresenceEvent event) {
    const PresenceStep step =
        nextPresence(state_, event, {windowManagerMinimizes(), decisions_.hasHistory()});
    // The new state first: the window's own state changes that the requests cause are then
    // no news when they come back as events.
    state_ = step.next;
    carryOut(step.requests);
    watchWindow();
}

// The native window is made by the first request, as the window stands then (made earlier, it
// would be moved at its first showing, and on X11 Qt shows a window it moves, minimized or not).
void WindowPresence::watchWindow() {
    QWindow *handle = window_.windowHandle();
    if (watching_ || !handle)
        return;
    watching_ = true;
    handle->installEventFilter(this);
    connect(handle, &QWindow::windowStateChanged, this, &WindowPresence::onWindowStateChanged);
}

// On X11 Qt maps a minimized window that it moves or resizes: a window coming back refuses the
// keyboard before its size and place change.
void WindowPresence::carryOut(const PresenceRequests &requests) {
    if (requests.showWithoutFocus) {
        setTakesFocus(window_, false);
        refusingFocus_ = true;
    }
    if (requests.applySavedSize)
        decisions_.applySavedSize();
    if (requests.place)
        decisions_.place(*requests.place);
    if (requests.minimize) {
        window_.setWindowState(window_.windowState() | Qt::WindowMinimized);
        window_.show(); // mapped iconic when not yet mapped: in the taskbar
    }
    if (requests.hide)
        window_.hide();
    if (requests.showWithoutFocus)
        showWithoutFocus();
    if (requests.activate) {
        refusingFocus_ = false;
        setTakesFocus(window_, true);
        window_.raise();
        window_.activateWindow();
    }
}

// Window managers give a newly mapped window the keyboard unless its input hint refuses it
// (fluxbox and icewm ignore a zero user time); the hint is lifted once the window is on screen.
void WindowPresence::showWithoutFocus() {
    window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
    window_.show();
    window_.raise();
}

void WindowPresence::onWindowStateChanged(Qt::WindowState state) {
    handle(state == Qt::WindowMinimized ? PresenceEvent::Iconified : PresenceEvent::Restored);
}

// Brought back without the keyboard, the window takes it once the user presses a button in it:
// lifted any earlier (when it comes on screen, say), a window manager that decides the focus of
// a window it maps a moment later (fluxbox) would still give it the keyboard.
bool WindowPresence::eventFilter(QObject *watched, QEvent *event) {
    if (refusingFocus_ && event->type() == QEvent::MouseButtonPress) {
        refusingFocus_ = false;
        setTakesFocus(window_, true);
        window_.activateWindow(); // Qt asked before the hint was lifted, and was refused
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kobako::platform

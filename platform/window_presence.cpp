#include "window_presence.h"

#include "window_manager.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace kobako::platform {

namespace {
constexpr std::chrono::milliseconds kOffersWhileMapping{500};
}

WindowPresence::WindowPresence(QWidget &window, Decisions decisions)
    : QObject(&window), window_(window), decisions_(std::move(decisions)) {
    auto *messages = new WindowManagerMessages(window);
    connect(messages, &WindowManagerMessages::mapped, this,
            [this] { mappedAt_ = std::chrono::steady_clock::now(); });
    connect(messages, &WindowManagerMessages::focusOffered, this, [this](uint32_t time) {
        // Window managers offer the focus as they map the window, a moment after it is mapped;
        // an offer later than that is the user's.
        if (!refusingFocus_ || !mappedAt_ ||
            std::chrono::steady_clock::now() - *mappedAt_ < kOffersWhileMapping)
            return;
        acceptFocus();
        takeFocus(window_, time);
    });
}

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
        mappedAt_.reset();
    }
    if (requests.applySavedSize)
        decisions_.applySavedSize();
    if (requests.place)
        decisions_.place(*requests.place);
    if (requests.minimize)
        showMinimized(window_);
    if (requests.hide)
        window_.hide();
    if (requests.showWithoutFocus)
        showWithoutFocus();
    if (requests.activate) {
        acceptFocus();
        window_.raise();
        window_.activateWindow();
    }
}

// Window managers give a newly mapped window the keyboard unless its input hint refuses it
// (fluxbox and icewm ignore a zero user time), and a restore from the taskbar is an activation
// to all of them.
void WindowPresence::showWithoutFocus() {
    window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
    window_.show();
    window_.raise();
}

void WindowPresence::onWindowStateChanged(Qt::WindowState state) {
    handle(state == Qt::WindowMinimized ? PresenceEvent::Iconified : PresenceEvent::Restored);
}

void WindowPresence::acceptFocus() {
    refusingFocus_ = false;
    setTakesFocus(window_, true);
}

// A click in a window that refuses the focus reaches it, but the window manager gives it no
// keyboard: it is asked for once the refusal is lifted (Qt asked before, and was refused).
bool WindowPresence::eventFilter(QObject *watched, QEvent *event) {
    if (refusingFocus_ && event->type() == QEvent::MouseButtonPress) {
        acceptFocus();
        window_.activateWindow();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kobako::platform

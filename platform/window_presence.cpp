#include "window_presence.h"

#include "window_manager.h"

#include <QCursor>
#include <QEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace kobako::platform {

namespace {
constexpr std::chrono::milliseconds kOffersWhileMapping{500};
}

WindowPresence::WindowPresence(QWidget &window, Decisions decisions)
    : QObject(&window), window_(window), decisions_(std::move(decisions)) {
    activateOnlyOnClicksThat(
        window, [this](QPoint point) { return takesFocusByClick(window_.childAt(point)); });
    auto *messages = new WindowManagerMessages(window);
    connect(messages, &WindowManagerMessages::mapped, this, [this] {
        if (std::exchange(showingItself_, false))
            mappedAt_ = std::chrono::steady_clock::now();
    });
    connect(messages, &WindowManagerMessages::focusOffered, this, [this](uint32_t time) {
        // Window managers offer the focus as they map a window, a moment after the program
        // showed it; and for a click in the window, before the click itself arrives (the click
        // decides). Any other offer is the user's: a taskbar, a window list, Alt+Tab.
        const bool mapping =
            showingItself_ ||
            (mappedAt_ && std::chrono::steady_clock::now() - *mappedAt_ < kOffersWhileMapping);
        if (!refusingFocus_ || mapping ||
            window_.rect().contains(window_.mapFromGlobal(QCursor::pos())))
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
    const Presence before = std::exchange(state_, step.next);
    if (before == Presence::Hidden && step.requests.showWithoutFocus)
        renewNativeWindow();
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
    setTakesFocus(window_, !refusingFocus_);
    handle->installEventFilter(this);
    connect(handle, &QWindow::windowStateChanged, this, &WindowPresence::onWindowStateChanged);
}

// On X11 Qt maps a minimized window that it moves or resizes: a window coming back refuses the
// keyboard before its size and place change.
void WindowPresence::carryOut(const PresenceRequests &requests) {
    if (requests.showWithoutFocus) {
        refuseFocus();
        showingItself_ = true;
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

// A window is hidden only where the window manager cannot minimize: weston's, which shows a
// window it showed before 32 pixels up and left of where it was, whatever the program asks. A
// new native window is placed as a first one. Qt keeps the QWindow, with what watches it.
void WindowPresence::renewNativeWindow() {
    QWindow *handle = window_.windowHandle();
    handle->destroy();
    handle->create();
}

void WindowPresence::onWindowStateChanged(Qt::WindowState state) {
    handle(state == Qt::WindowMinimized ? PresenceEvent::Iconified : PresenceEvent::Restored);
}

void WindowPresence::acceptFocus() {
    refusingFocus_ = false;
    setTakesFocus(window_, true);
}

void WindowPresence::refuseFocus() {
    refusingFocus_ = true;
    setTakesFocus(window_, false);
}

// The window refuses the keyboard whenever it does not hold it, so that a click in it leaves the
// keyboard where the user types. A click into what takes the keyboard by a click (a slot's text)
// asks for it: the window manager gave it none, as the window refused it then.
bool WindowPresence::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::FocusOut && !refusingFocus_)
        refuseFocus();
    if (event->type() == QEvent::MouseButtonPress && refusingFocus_ &&
        takesFocusByClick(
            window_.childAt(static_cast<QMouseEvent *>(event)->position().toPoint()))) {
        acceptFocus();
        window_.activateWindow();
    }
    return QObject::eventFilter(watched, event);
}

// As Qt gives the focus on a click: to the first widget up from the one clicked that takes it so.
bool WindowPresence::takesFocusByClick(const QWidget *widget) {
    for (; widget && !widget->isWindow(); widget = widget->parentWidget())
        if (widget->isEnabled() && (widget->focusPolicy() & Qt::ClickFocus))
            return true;
    return false;
}

} // namespace kobako::platform

// The same requests on Windows, where the system is the window manager: it frames a window as soon
// as it exists, minimizes every window, and gives the keyboard to a window the user brings back
// from the taskbar by itself.
#include "platform/window_manager.h"

#include <QCoreApplication>
#include <QCursor>
#include <QWidget>
#include <QWindow>

#include <windows.h>

namespace kobako::platform {

void requestKeepAbove(QWidget &window, bool above) {
    if (!window.isVisible() || !window.internalWinId())
        return;
    SetWindowPos(reinterpret_cast<HWND>(window.internalWinId()),
                 above ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Qt's windows already carry the executable's icon (IDI_ICON1).
void setProgramIcon(QWidget &) {}

void setTakesFocus(QWidget &window, bool takes) {
    window.setAttribute(Qt::WA_ShowWithoutActivating, !takes);
}

namespace {

class ClickActivation : public QObject, public QAbstractNativeEventFilter {
  public:
    ClickActivation(QWidget &window, std::function<bool(QPoint)> clickTakesFocus)
        : QObject(&window), window_(window), clickTakesFocus_(std::move(clickTakesFocus)) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~ClickActivation() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *result) override {
        const auto *msg = static_cast<const MSG *>(message);
        if (type != "windows_generic_MSG" || msg->message != WM_MOUSEACTIVATE ||
            !window_.internalWinId() ||
            msg->hwnd != reinterpret_cast<HWND>(window_.internalWinId()) ||
            clickTakesFocus_(window_.mapFromGlobal(QCursor::pos())))
            return false;
        *result = MA_NOACTIVATE;
        return true;
    }

  private:
    QWidget &window_;
    std::function<bool(QPoint)> clickTakesFocus_;
};

} // namespace

void activateOnlyOnClicksThat(QWidget &window, std::function<bool(QPoint)> clickTakesFocus) {
    new ClickActivation(window, std::move(clickTakesFocus));
}

// Windows sends no offers to decline: nothing to pass on.
WindowManagerMessages::WindowManagerMessages(QWidget &window) : QObject(&window), window_(window) {}

WindowManagerMessages::~WindowManagerMessages() = default;

bool WindowManagerMessages::nativeEventFilter(const QByteArray &, void *, qintptr *) {
    return false;
}

void takeFocus(QWidget &window, uint32_t) {
    window.activateWindow();
}

// Qt shows a window that must not take the keyboard in its normal state, minimized or not (at the
// place it is parked, off the screen, where no taskbar lists it): it is minimized after.
void showMinimized(QWidget &window) {
    window.setWindowState(window.windowState() | Qt::WindowMinimized);
    window.show();
    ShowWindow(reinterpret_cast<HWND>(window.winId()), SW_SHOWMINNOACTIVE);
}

bool windowManagerMinimizes() {
    return true;
}

std::optional<QMargins> expectedFrame(QWidget &window) {
    window.winId();
    return window.windowHandle() ? window.windowHandle()->frameMargins() : QMargins();
}

void whenFramed(QWidget &window, std::function<void(QMargins)> placed) {
    placed(*expectedFrame(window));
}

QPoint windowPosition(const QWidget &window) {
    return window.mapToGlobal(QPoint(0, 0));
}

quintptr keyboardHolder() {
    HWND holder = GetForegroundWindow();
    DWORD process = 0;
    GetWindowThreadProcessId(holder, &process);
    return holder && process != GetCurrentProcessId() ? reinterpret_cast<quintptr>(holder) : 0;
}

bool hasKeyboard(const QWidget &window) {
    return window.internalWinId() &&
           GetForegroundWindow() == reinterpret_cast<HWND>(window.internalWinId());
}

// The foreground window may hand the foreground on.
void giveKeyboardTo(quintptr window) {
    if (window)
        SetForegroundWindow(reinterpret_cast<HWND>(window));
}

} // namespace kobako::platform

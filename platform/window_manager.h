#pragma once

#include <QAbstractNativeEventFilter>
#include <QMargins>
#include <QObject>
#include <QPoint>

#include <functional>
#include <optional>

class QWidget;

// What the program asks of the window manager about its top-level windows.
namespace kobako::platform {

// Asks the window manager to keep a shown top-level window above the others, or to stop, by the
// _NET_WM_STATE request of the EWMH. Qt would do it through Qt::WindowStaysOnTopHint, but on X11
// a change of that flag makes Qt create a new native window at the next show, and what the user
// told the window manager about the old one (all workspaces, a shortcut) is lost with it.
// Elsewhere than on X11, and for a window not shown, it does nothing.
void requestKeepAbove(QWidget &window, bool above);

// Gives a top-level window the program's icon, for the taskbar and the window switcher. Windows
// takes it from the executable, as Explorer does, so that all three show the same picture.
void setProgramIcon(QWidget &window);

// Whether the window manager may give a top-level window the keyboard focus (the ICCCM input
// hint), when it maps the window or when asked to activate it. Not every window manager honours
// a zero user time (fluxbox and icewm focus every new window), and a restore from the taskbar
// is an activation to all of them; all X window managers honour the input hint.
void setTakesFocus(QWidget &window, bool takes);

// Windows activates a window on any click in it: from then on a click in this window activates
// it only where clickTakesFocus (given the point in the window) says so. Over X11 the input hint
// and the window manager's offers do the same (setTakesFocus, WindowManagerMessages).
void activateOnlyOnClicksThat(QWidget &window, std::function<bool(QPoint)> clickTakesFocus);

// What the window manager tells one top-level window over X11: that it mapped the window, and
// that it offers it the keyboard (WM_TAKE_FOCUS: sent, to a window that refuses the focus by its
// input hint, when the user activates it from a taskbar or by a click, and by some window
// managers when they map it).
class WindowManagerMessages : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
  public:
    explicit WindowManagerMessages(QWidget &window);
    ~WindowManagerMessages() override;
    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *result) override;

  signals:
    void mapped();
    void focusOffered(uint32_t time);

  private:
    QWidget &window_;
};

// Takes the keyboard for a window the window manager offered it to, at the offer's time.
void takeFocus(QWidget &window, uint32_t time);

// Minimizes a top-level window without giving it the keyboard; shown for the first time, it is
// shown minimized, a button in the taskbar.
void showMinimized(QWidget &window);

// Whether the window manager can minimize a window (it says it knows the hidden state). Weston's
// X11 window manager cannot.
bool windowManagerMinimizes();

// The frame the window manager will put around a top-level window (title bar and borders),
// asked before the window is shown (_NET_REQUEST_FRAME_EXTENTS), so that the whole window can
// be placed. Empty without X11 or without a window manager; none when the window manager does
// not tell before the window is mapped.
std::optional<QMargins> expectedFrame(QWidget &window);

// Calls placed with the window's frame once the window manager has framed it (for a window
// about to be shown), or never if it does not say within a second.
void whenFramed(QWidget &window, std::function<void(QMargins)> placed);

// Where a top-level window really is on the screen, in pixels, for dragging it. Under a
// reparenting window manager Qt's own idea of it can stay at the frame's origin, so on X11 the
// server is asked. The program's own placing keeps to Qt's idea, which its moves update at once.
QPoint windowPosition(const QWidget &window);

// The window of another program that has the keyboard (the window manager's active window, or
// the one with the focus), to give it the keyboard back later; 0 when one of the program's own
// windows has it, or none has.
quintptr keyboardHolder();
// Gives the keyboard back to the window `keyboardHolder` told of, through the window manager.
void giveKeyboardTo(quintptr window);
// Whether a top-level window has the keyboard, as the display server says (Qt may still call a
// window active that the window manager minimized, or that a Wayland program took it from).
bool hasKeyboard(const QWidget &window);

} // namespace kobako::platform

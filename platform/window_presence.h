#pragma once

#include "core/window_presence.h"

#include <QObject>

#include <chrono>
#include <functional>
#include <optional>

class QWidget;

namespace kobako::platform {

class WindowManagerMessages;

// The history window's presence on the desktop, moved by events only: the program's (a copy,
// the minimize button, a second start) and the window manager's (it restores or minimizes the
// window, from a taskbar, a window list or _NET_ACTIVE_WINDOW). The table in core decides each
// step; this carries out its requests on the window and turns what the window manager did into
// events. Nothing here waits for the window manager: its answers arrive as events, and the one
// native window is never withdrawn but where the window manager cannot minimize, and made anew
// there as it comes back.
class WindowPresence : public QObject {
    Q_OBJECT
  public:
    // What the window decides for itself.
    struct Decisions {
        std::function<void()> applySavedSize;
        std::function<void(PlacementKind)> place;
        std::function<bool()> hasHistory;
    };
    WindowPresence(QWidget &window, Decisions decisions);

    Presence state() const { return state_; }
    void handle(PresenceEvent event);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void carryOut(const PresenceRequests &requests);
    void showWithoutFocus();
    void renewNativeWindow();
    void onWindowStateChanged(Qt::WindowState state);
    void watchWindow();
    void acceptFocus();
    void refuseFocus();
    static bool takesFocusByClick(const QWidget *widget);

    QWidget &window_;
    Decisions decisions_;
    Presence state_ = Presence::NotPlaced;
    // Without the keyboard it refuses the focus until the user asks for the window (a click
    // into a slot's text, a taskbar, Alt+Tab, a second start), but not when the window manager
    // offers the focus as it maps the window the program showed, as most do.
    bool refusingFocus_ = true;
    bool showingItself_ = false;
    std::optional<std::chrono::steady_clock::time_point> mappedAt_;
    bool watching_ = false;
};

} // namespace kobako::platform

#pragma once

#include "core/window_presence.h"

#include <QObject>

#include <functional>

class QWidget;

namespace kobako::platform {

// The history window's presence on the desktop, moved by events only: the program's (a copy,
// the minimize button, a second start) and the window manager's (it restores or minimizes the
// window, from a taskbar, a window list or _NET_ACTIVE_WINDOW). The table in core decides each
// step; this carries out its requests on the window and turns what the window manager did into
// events. Nothing here waits for the window manager: its answers arrive as events, and the one
// native window is never withdrawn but where the window manager cannot minimize.
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
    void onWindowStateChanged(Qt::WindowState state);
    void watchWindow();

    QWidget &window_;
    Decisions decisions_;
    Presence state_ = Presence::NotPlaced;
    // Shown without the keyboard: it takes the focus again once it is on the screen, or once
    // the user presses a button in it.
    bool refusingFocus_ = false;
    bool watching_ = false;
};

} // namespace kobako::platform

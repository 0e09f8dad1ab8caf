#pragma once

#include "layout.h"

#include <optional>

namespace kobako {

// Where the history window stands on the desktop. It starts out of sight and not yet placed:
// the first time it comes on screen it takes its saved size and the place the settings give.
// Minimized is the window manager's iconic state; hidden is the stand-in where the window
// manager cannot minimize (the window is unmapped). Called is shown with the keyboard, brought
// from out of sight by the user's key: it goes back there when the keyboard is given back.
enum class Presence { NotPlaced, Shown, Called, Minimized, Hidden };

// What changes the presence: the program's own reasons and the window manager's doings.
enum class PresenceEvent {
    Started,          // the program has started; the window exists
    Captured,         // a copy was stored
    SecondStart,      // the program was started again in the same directory
    MinimizeButton,   // the caption's minimize button
    Restored,         // the window manager put the window on screen (a taskbar click, a window
                      // list, _NET_ACTIVE_WINDOW, a map request of the iconic window)
    Iconified,        // the window manager minimized the window by its own means
    Summoned,         // the user's key (or a start asking to show the window): in front, with
                      // the keyboard
    KeyboardReturned, // the keyboard given back to the program that had it before the key
};

// What the window is asked to do, carried out in the order of the fields.
struct PresenceRequests {
    bool applySavedSize = false;
    std::optional<PlacementKind> place;
    bool minimize = false;         // iconic, out of sight in the taskbar
    bool hide = false;             // unmapped, where minimizing is not possible
    bool showWithoutFocus = false; // on screen, in front, the keyboard left where it is
    bool activate = false;         // raised and given the keyboard (the user asked for it)

    bool operator==(const PresenceRequests &) const = default;
};

struct PresenceStep {
    Presence next;
    PresenceRequests requests;
};

// What the step depends on besides the state and the event.
struct PresenceContext {
    bool canMinimize; // the window manager knows the iconic state
    bool hasHistory;  // a capture places the window only when there is something to show
};

PresenceStep nextPresence(Presence now, PresenceEvent event, PresenceContext context);

} // namespace kobako

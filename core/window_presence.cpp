#include "window_presence.h"

namespace kobako {

namespace {

PresenceStep stay(Presence now) {
    return {now, {}};
}

PresenceStep to(Presence next, bool PresenceRequests::*request) {
    PresenceStep step{next, {}};
    step.requests.*request = true;
    return step;
}

// Brought on screen by the program itself: never with the keyboard, which stays where the user
// types. The first time, the saved size comes first, since the place depends on the size.
PresenceStep bringBack(Presence now, std::optional<PlacementKind> place) {
    PresenceRequests requests;
    requests.applySavedSize = now == Presence::NotPlaced;
    requests.place = now == Presence::NotPlaced ? PlacementKind::FirstPlacement : place;
    requests.showWithoutFocus = true;
    return {Presence::Shown, requests};
}

} // namespace

PresenceStep nextPresence(Presence now, PresenceEvent event, PresenceContext context) {
    if (now == Presence::Called) {
        // Shown as by anything else, but for the keyboard going back.
        if (event == PresenceEvent::KeyboardReturned)
            return nextPresence(Presence::Shown, PresenceEvent::MinimizeButton, context);
        if (event == PresenceEvent::Restored || event == PresenceEvent::Captured)
            return stay(now);
        return nextPresence(Presence::Shown, event, context);
    }
    const bool outOfSight = now != Presence::Shown;
    switch (event) {
    case PresenceEvent::Started: {
        if (now != Presence::NotPlaced)
            return stay(now);
        // Out of sight in the taskbar until a copy or the user brings it back. A window manager
        // that cannot minimize would leave no way to reach it: there it is shown at once.
        if (context.canMinimize)
            return to(Presence::NotPlaced, &PresenceRequests::minimize);
        return bringBack(now, std::nullopt);
    }
    case PresenceEvent::Captured:
        if (!outOfSight)
            return stay(now);
        return bringBack(now,
                         context.hasHistory ? std::optional(PlacementKind::Capture) : std::nullopt);
    case PresenceEvent::SecondStart:
        if (outOfSight)
            return bringBack(now, PlacementKind::Capture);
        return to(now, &PresenceRequests::activate);
    case PresenceEvent::MinimizeButton:
        if (now != Presence::Shown)
            return stay(now);
        if (context.canMinimize)
            return to(Presence::Minimized, &PresenceRequests::minimize);
        return to(Presence::Hidden, &PresenceRequests::hide);
    case PresenceEvent::Restored:
        // The window manager has mapped it already: only the first time is it sized and placed.
        if (now == Presence::NotPlaced) {
            PresenceStep step = to(Presence::Shown, &PresenceRequests::applySavedSize);
            step.requests.place = PlacementKind::FirstPlacement;
            return step;
        }
        return stay(Presence::Shown);
    case PresenceEvent::Iconified:
        return {now == Presence::Shown ? Presence::Minimized : now, {}};
    case PresenceEvent::Summoned: {
        if (!outOfSight)
            return to(now, &PresenceRequests::activate);
        PresenceStep step = bringBack(now, PlacementKind::Capture);
        step.next = Presence::Called;
        step.requests.activate = true;
        return step;
    }
    case PresenceEvent::KeyboardReturned:
        return stay(now);
    }
    return stay(now);
}

} // namespace kobako

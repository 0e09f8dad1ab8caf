#include "core/window_presence.h"

#include <gtest/gtest.h>

#include <optional>

namespace kobako {
namespace {

// Every step of the window's presence: state and event (and whether the window manager can
// minimize, and whether there is a history to place by) give the next state and the requests.
struct Step {
    Presence now;
    PresenceEvent event;
    bool canMinimize;
    bool hasHistory;
    Presence next;
    PresenceRequests requests;
};

PresenceRequests requests(bool applySavedSize, std::optional<PlacementKind> place, bool minimize,
                          bool hide, bool showWithoutFocus, bool activate) {
    return {applySavedSize, place, minimize, hide, showWithoutFocus, activate};
}

constexpr auto First = PlacementKind::FirstPlacement;
constexpr auto Capture = PlacementKind::Capture;
const PresenceRequests kNothing{};
const PresenceRequests kMinimize = requests(false, {}, true, false, false, false);
// Sized and placed the first time, then shown without the keyboard.
const PresenceRequests kFirstShow = requests(true, First, false, false, true, false);

using enum Presence;
using enum PresenceEvent;

const Step kSteps[] = {
    // Out of sight in the taskbar from the start, unless nothing could bring it back.
    {NotPlaced, Started, true, false, NotPlaced, kMinimize},
    {NotPlaced, Started, false, true, Shown, kFirstShow},
    // The first copy, or the user, brings it: at the saved size where the settings say; the
    // window manager has shown it already when the user restored it.
    {NotPlaced, Captured, true, true, Shown, kFirstShow},
    {NotPlaced, Captured, true, false, Shown, kFirstShow},
    {NotPlaced, SecondStart, true, false, Shown, kFirstShow},
    {NotPlaced, Restored, true, false, Shown, requests(true, First, false, false, false, false)},
    {NotPlaced, Iconified, true, false, NotPlaced, kNothing},
    {NotPlaced, MinimizeButton, true, true, NotPlaced, kNothing},
    // Shown: a copy changes nothing, a second start raises it with the keyboard.
    {Shown, Captured, true, true, Shown, kNothing},
    {Shown, SecondStart, true, true, Shown, requests(false, {}, false, false, false, true)},
    {Shown, Restored, true, true, Shown, kNothing},
    {Shown, MinimizeButton, true, true, Minimized, kMinimize},
    {Shown, MinimizeButton, false, true, Hidden, requests(false, {}, false, true, false, false)},
    {Shown, Iconified, true, true, Minimized, kNothing},
    // The user's key: with the keyboard, and back out of sight with it, when it brought it.
    {Shown, Summoned, true, true, Shown, requests(false, {}, false, false, false, true)},
    {Shown, KeyboardReturned, true, true, Shown, kNothing},
    {Minimized, Summoned, true, true, Called, requests(false, Capture, false, false, true, true)},
    {NotPlaced, Summoned, true, true, Called, requests(true, First, false, false, true, true)},
    {Called, Restored, true, true, Called, kNothing},
    {Called, Captured, true, true, Called, kNothing},
    {Called, KeyboardReturned, true, true, Minimized, kMinimize},
    {Called, KeyboardReturned, false, true, Hidden, requests(false, {}, false, true, false, false)},
    {Called, MinimizeButton, true, true, Minimized, kMinimize},
    {Called, Iconified, true, true, Minimized, kNothing},
    // Minimized or hidden: a copy brings it back where the settings say (an empty copy to an
    // empty history does not move it); the window manager's restore leaves it where it was.
    {Minimized, Captured, true, true, Shown, requests(false, Capture, false, false, true, false)},
    {Minimized, Captured, true, false, Shown, requests(false, {}, false, false, true, false)},
    {Minimized, SecondStart, true, false, Shown,
     requests(false, Capture, false, false, true, false)},
    {Minimized, Restored, true, true, Shown, kNothing},
    {Minimized, MinimizeButton, true, true, Minimized, kNothing},
    {Hidden, Captured, false, true, Shown, requests(false, Capture, false, false, true, false)},
    {Hidden, SecondStart, false, true, Shown, requests(false, Capture, false, false, true, false)},
    {Hidden, Iconified, false, true, Hidden, kNothing},
    {Shown, Started, true, true, Shown, kNothing},
};

TEST(WindowPresence, EveryStepGivesItsStateAndRequests) {
    for (const Step &step : kSteps) {
        SCOPED_TRACE(::testing::Message() << "step " << &step - kSteps);
        const PresenceStep result =
            nextPresence(step.now, step.event, {step.canMinimize, step.hasHistory});
        EXPECT_EQ(result.next, step.next);
        EXPECT_EQ(result.requests, step.requests);
    }
}

} // namespace
} // namespace kobako

#pragma once

#include "core/paste_keystroke.h"
#include "core/shared_text.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kobako::platform {

// Why the program cannot make other programs paste on this desktop.
enum class PasteBlocker {
    Wayland,      // the compositor types for no program (it offers no virtual keyboard)
    NoKeystrokes, // the X server lacks the XTEST extension, or there is no X server
};
std::optional<PasteBlocker> pasteBlocker();
// Pastes after a pick are wanted: what types them is made ready now, where that takes a while
// (Wayland's compositor adds a keyboard to the seat).
void prepareToPaste();

#ifdef KOBAKO_WAYLAND
class WaylandClipboard;
// On a Wayland desktop the compositor types the keystroke, through the connection of its
// clipboard; set once at start.
void typeThroughCompositor(WaylandClipboard &clipboard);
#endif

// Makes the program that has the keyboard paste a text just picked: once the user has let go of
// every mouse button and modifier key (a join is picked with Ctrl held, a join-all with Shift or
// Alt, and a paste keystroke sent meanwhile would come out as another one), the paste keystroke
// goes to that program. Nothing goes to the program's own windows, nor when no program has the
// keyboard. The text is also put on the primary selection, which Shift+Insert pastes in
// terminals.
class PickPaster : public QObject {
  public:
    // The keystroke for the program that has the keyboard, by its window's class (X11's
    // WM_CLASS); asked where the window is known.
    using KeystrokeChoice = std::function<PasteKeystroke(const std::vector<std::string> &)>;

    PickPaster(KeystrokeChoice choose, QObject *parent = nullptr);
    void paste(SharedText text);
    // The same once the keyboard, given back by the program, has arrived at the other program
    // (within a second).
    void pasteOnceGivenBack(SharedText text);

  private:
    using Deadline = std::optional<std::chrono::steady_clock::time_point>;
    void startPasting(SharedText text, Deadline givenBackBy);
    void pasteOnceReleased();

    KeystrokeChoice choose_;
    QTimer released_;
    SharedText text_;
    Deadline givenBackBy_;
};

} // namespace kobako::platform

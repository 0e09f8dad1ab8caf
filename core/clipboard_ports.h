#pragma once

#include "shared_text.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace kobako {

// Who changed the clipboard. The program's own pick writes come back as notifications during the
// write: they are echoes and never become entries. Every other change is a copy, also one made
// with Ctrl+C inside the program's own text boxes.
enum class ClipboardOrigin { Elsewhere, OwnPickWrite };

// When a clipboard change was made, by the steady clock: a text that arrives late is placed among
// the others by it. The newest moment of all places a text above every other.
using Moment = std::chrono::steady_clock::time_point;
inline constexpr Moment kNewest = Moment::max();

// One change of the clipboard: its text, or nothing when it offers none (an image, an emptied
// clipboard, a secret), and when it was made.
struct ClipboardChange {
    std::optional<std::string> text;
    Moment madeAt = kNewest;
};

// What the pick rules need of the clipboard. A write is announced to the capture before it
// returns, so every state the capture reads must be up to date before either call.
class ClipboardWriter {
  public:
    virtual ~ClipboardWriter() = default;
    virtual void clear() = 0;
    virtual void setText(const SharedText &text) = 0;
};

// What the history window hears of the clipboard: each change, once, the program's own writes
// included (during the write), who made it, and its text.
class ClipboardReader {
  public:
    virtual ~ClipboardReader() = default;
    virtual void whenChanged(std::function<void()> changed) = 0;
    // Of the change being announced.
    virtual ClipboardOrigin origin() const = 0;
    // The change being announced, its text handed over; no text when the change is the program's
    // own.
    virtual ClipboardChange takeChange() = 0;
};

// The system's clipboard, watched from outside the window toolkit: each change made elsewhere is
// reported with its text. The X11 reader and Wayland's data control are two; the program starts
// one before its windows and hands it over. Every one follows the same rules: the text types,
// the secret mark (judgeMark), the size cap and the owners' deadlines (clipboard_offer.h).
class ClipboardWatch {
  public:
    // Each change, with no text when it offers none or is marked secret.
    using Listener = std::function<void(ClipboardChange)>;

    virtual ~ClipboardWatch() = default;
    // Changes that came before a listener was set are reported to it at once, in order.
    virtual void setListener(Listener listener) = 0;
    // `lost` runs, on the watch's thread, if the display the clipboard belongs to goes away.
    virtual void whenLost(std::function<void()> lost) { (void)lost; }
    // Whether the program's own writes go through this watch rather than through the window
    // toolkit's clipboard; they are never reported.
    virtual bool writes() const { return false; }
    // Offers `text` as the clipboard's, or empties the clipboard (nothing).
    virtual void offer(std::optional<SharedText> text) { (void)text; }
    // Which way the clipboard is watched, in a few words, for --verbose.
    virtual std::string describe() const = 0;
};

} // namespace kobako

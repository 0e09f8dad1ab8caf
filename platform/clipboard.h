#pragma once

#include "core/clipboard_ports.h"

#include <QClipboard>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kobako::platform {

// The system clipboard (the CLIPBOARD selection), plain text only.
//
// The change callback runs once for every change of the clipboard. For a write it runs exactly
// once, before the write returns, and never again later: Qt's own
// signals are dropped while a write is under way, since on X11 some of them arrive only later
// from the event loop. While that notification runs, `origin()` names it the program's own.
//
// Other programs' changes are read by a watch of the program's own (the X11 reader, Wayland's data
// control, the Windows clipboard listener), which fetches each text at once off the window's
// thread; a copy made inside the program (Ctrl+C in a text box) is Qt's and is read from Qt.
// Without a watch (in tests) Qt's clipboard is asked for every change. Windows reports the
// program's own write only later, from the event loop: while the clipboard holds the pick's
// offer, a change is that write's.
class Clipboard : public QObject, public ClipboardReader, public ClipboardWriter {
  public:
    // `reader` watches X11 copies; without one, Qt is asked.
    explicit Clipboard(std::unique_ptr<ClipboardWatch> reader, QObject *parent = nullptr);
    ~Clipboard() override;

    void whenChanged(std::function<void()> changed) override { changed_ = std::move(changed); }
    ClipboardOrigin origin() const override { return announcing_; }
    // Handed over (no copy of a large text); for the program's own writes no text, since the
    // history has their texts.
    ClipboardChange takeChange() override;

    void clear() override;
    void setText(const SharedText &text) override;

    // `lost` runs on the window's thread if the clipboard's display goes away.
    void whenLost(std::function<void()> lost);

  private:
    void write(std::optional<SharedText> text);
    std::optional<std::string> readWithQt() const;

    void onQtChange(QClipboard::Mode mode);
    void announce(ClipboardOrigin origin);

    std::function<void()> changed_;
    bool writing_ = false;
    ClipboardOrigin announcing_ = ClipboardOrigin::Elsewhere;
    std::unique_ptr<ClipboardWatch> reader_;
    ClipboardChange current_; // with the reader: the last change
};

} // namespace kobako::platform

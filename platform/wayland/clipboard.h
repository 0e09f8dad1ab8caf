#pragma once

#include "platform/clipboard_watch.h"

#include <memory>

namespace kobako::platform {

// The clipboard of a Wayland compositor through its data-control protocol, which compositors
// offer to clipboard managers: the standard ext_data_control_manager_v1, else wlroots'
// zwlr_data_control_manager_v1 (which KWin, Hyprland and others offer too). Copies are read, and
// picks offered, on a connection and a thread of its own, whatever window has the keyboard. The
// program's own offer carries a type only it offers, by which it knows its selection again.
//
// The connection is watched: when the compositor drops it (a protocol error, or a copy offering
// more types than it can send) it is said on standard error and made again, and only when no
// connection can be made any more is the clipboard lost. What a copy may cost is bounded: only
// the types the program can use are kept, a fixed number of transfers each way is open at once,
// and the texts being read share one budget of memory.
class WaylandClipboard final : public ClipboardWatch {
  public:
    // Nothing when WAYLAND_DISPLAY names no compositor, or one without data control. With
    // `xCopies`, the X display beside the compositor judges the copies of X programs.
    static std::unique_ptr<WaylandClipboard> open(XCopies *xCopies = nullptr);
    ~WaylandClipboard() override;
    WaylandClipboard(const WaylandClipboard &) = delete;
    WaylandClipboard &operator=(const WaylandClipboard &) = delete;

    void setListener(Listener listener) override;
    void whenLost(std::function<void()> lost) override;
    bool writes() const override { return true; }
    void offer(std::optional<SharedText> text) override;
    std::string describe() const override;

    // Whether the compositor types for the program (a virtual keyboard of its own).
    bool types() const;
    // Makes the window that has the keyboard paste `text`: it goes on the primary selection,
    // then the compositor types Shift+Insert.
    void paste(SharedText text);
    // Pastes are wanted: the keyboard that types them is made now.
    void prepareTyping();

    class Session;

  private:
    explicit WaylandClipboard(std::unique_ptr<Session> session);
    std::unique_ptr<Session> session_;
};

} // namespace kobako::platform

#pragma once

#include "platform/clipboard_watch.h"

#include <memory>

namespace kobako::platform {

// The clipboard of a Wayland compositor through its data-control protocol, which compositors
// offer to clipboard managers: the standard ext_data_control_manager_v1, else wlroots'
// zwlr_data_control_manager_v1 (which KWin, Hyprland and others offer too). Copies are read, and
// picks offered, on a connection and a thread of its own, whatever window has the keyboard. The
// program's own offer carries a type only it offers, by which it knows its selection again.
class WaylandClipboard final : public ClipboardWatch {
  public:
    // Nothing when WAYLAND_DISPLAY names no compositor, or one without data control.
    static std::unique_ptr<WaylandClipboard> open();
    ~WaylandClipboard() override;
    WaylandClipboard(const WaylandClipboard &) = delete;
    WaylandClipboard &operator=(const WaylandClipboard &) = delete;

    void setListener(Listener listener) override;
    void whenLost(std::function<void()> lost) override;
    bool writes() const override { return true; }
    void offer(std::optional<SharedText> text) override;
    std::string describe() const override;

    class Session;

  private:
    explicit WaylandClipboard(std::unique_ptr<Session> session);
    std::unique_ptr<Session> session_;
};

} // namespace kobako::platform

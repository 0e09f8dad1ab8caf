#pragma once

#include "core/clipboard_ports.h"

#include <atomic>
#include <memory>

namespace kobako::platform {

class WaylandClipboard;
class X11ClipboardReader;

// The clipboard of a Wayland compositor that shares it with X programs (through XWayland): the
// data control reads Wayland programs' copies and offers the picks, the X11 reader reads X
// programs' copies, whose secret mark does not survive the compositor's bridge. Each copy is
// taken in once, by the side it was made on. When the compositor's clipboard is gone for good,
// the X clipboard is read and written alone.
class BridgedClipboard final : public ClipboardWatch {
  public:
    // The data control was opened with `x11` to judge X programs' copies.
    BridgedClipboard(std::unique_ptr<X11ClipboardReader> x11,
                     std::unique_ptr<WaylandClipboard> wayland);
    ~BridgedClipboard() override;

    void setListener(Listener listener) override;
    bool writes() const override { return !waylandGone_; }
    void offer(std::optional<SharedText> text) override;
    std::string describe() const override;
    X11ClipboardReader &x11() { return *x11_; }

  private:
    std::unique_ptr<X11ClipboardReader> x11_;
    std::unique_ptr<WaylandClipboard> wayland_;
    std::atomic<bool> waylandGone_ = false;
};

} // namespace kobako::platform

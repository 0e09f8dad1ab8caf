#include "bridged_clipboard.h"

#include "language.h"
#include "wayland/clipboard.h"
#include "x11/clipboard_reader.h"

#include <cstdio>

namespace kobako::platform {

BridgedClipboard::BridgedClipboard(std::unique_ptr<X11ClipboardReader> x11,
                                   std::unique_ptr<WaylandClipboard> wayland)
    : x11_(std::move(x11)), wayland_(std::move(wayland)) {
    x11_->watchBesideCompositor();
    wayland_->whenLost([this] {
        waylandGone_ = true;
        std::fputs(japaneseWanted()
                       ? "kobako: コンポジターのクリップボードがなくなりました。"
                         "これからは X のクリップボードだけを読みます。\n"
                       : "kobako: the compositor's clipboard is gone; reading the X clipboard "
                         "alone from now on.\n",
                   stderr);
    });
}

// The data control asks the X11 reader while it runs: it goes first.
BridgedClipboard::~BridgedClipboard() {
    wayland_.reset();
}

void BridgedClipboard::setListener(Listener listener) {
    x11_->setListener(listener);
    wayland_->setListener(std::move(listener));
}

void BridgedClipboard::offer(std::optional<SharedText> text) {
    wayland_->offer(std::move(text));
}

std::string BridgedClipboard::describe() const {
    return wayland_->describe() + ", with X programs' copies read through " + x11_->describe();
}

} // namespace kobako::platform

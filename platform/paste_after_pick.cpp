#include "paste_after_pick.h"

#include "paste_keys.h"

#include <chrono>

namespace kobako::platform {

namespace {
// Often enough that the paste follows the release at once, seldom enough to cost nothing.
constexpr std::chrono::milliseconds kReleaseCheck{5};
} // namespace

PickPaster::PickPaster(KeystrokeChoice choose, QObject *parent)
    : QObject(parent), choose_(std::move(choose)) {
    released_.setInterval(kReleaseCheck);
    connect(&released_, &QTimer::timeout, this, &PickPaster::pasteOnceReleased);
}

void PickPaster::paste(SharedText text) {
    text_ = std::move(text);
    released_.start();
    pasteOnceReleased();
}

void PickPaster::pasteOnceReleased() {
    if (paste_keys::inputHeld())
        return;
    released_.stop();
    if (paste_keys::anotherProgramTypes())
        paste_keys::paste(text_, choose_);
    text_.clear();
}

} // namespace kobako::platform

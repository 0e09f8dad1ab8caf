#include "paste_after_pick.h"

#include "paste_keys.h"

#include <chrono>

namespace kobako::platform {

namespace {
// Often enough that the paste follows the release at once, seldom enough to cost nothing.
constexpr std::chrono::milliseconds kReleaseCheck{5};
// The window manager hands the keyboard on at once; a second is beyond any that works.
constexpr std::chrono::seconds kGivingBack{1};
} // namespace

PickPaster::PickPaster(KeystrokeChoice choose, QObject *parent)
    : QObject(parent), choose_(std::move(choose)) {
    released_.setInterval(kReleaseCheck);
    connect(&released_, &QTimer::timeout, this, &PickPaster::pasteOnceReleased);
}

void PickPaster::paste(SharedText text) {
    startPasting(std::move(text), std::nullopt);
}

void PickPaster::pasteOnceGivenBack(SharedText text) {
    startPasting(std::move(text), std::chrono::steady_clock::now() + kGivingBack);
}

void PickPaster::startPasting(SharedText text, Deadline givenBackBy) {
    text_ = std::move(text);
    givenBackBy_ = givenBackBy;
    released_.start();
    pasteOnceReleased();
}

void PickPaster::pasteOnceReleased() {
    if (paste_keys::inputHeld())
        return;
    if (givenBackBy_ && !paste_keys::anotherProgramTypes() &&
        std::chrono::steady_clock::now() < *givenBackBy_)
        return;
    released_.stop();
    if (paste_keys::anotherProgramTypes())
        paste_keys::paste(text_, choose_);
    text_.clear();
}

} // namespace kobako::platform

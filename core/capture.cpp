#include "history.h"

#include <algorithm>

namespace kobako {

// Every check comes before any change, so that an ignored copy leaves the history as it was. The
// text is taken by value and moved into the history: a copy of megabytes costs. The echo of a
// pick is known by its origin alone, never by its text, and leaves the repeat memory alone: a
// copy made elsewhere that equals a picked text is the user's copy all the same.
CaptureOutcome History::capture(std::optional<std::string> clipboardText, ClipboardOrigin origin) {
    if (capturePaused_ || origin == ClipboardOrigin::OwnPickWrite || !clipboardText)
        return CaptureOutcome::Ignored;
    if (holdsEntries() && *clipboardText == lastCaptured_)
        return CaptureOutcome::Ignored;
    lastCaptured_ = *clipboardText;
    // An empty copy is not an entry, and makes no room for one either: nothing is dropped.
    if (clipboardText->empty())
        return CaptureOutcome::Stored;
    if (settings_.isListMode())
        captureIntoList(std::move(*clipboardText));
    else
        captureIntoSlots(std::move(*clipboardText));
    return CaptureOutcome::Stored;
}

bool History::holdsEntries() const {
    return settings_.isListMode() ? !list_.empty() : filledSlotCount() > 0;
}

void History::captureIntoList(std::string text) {
    const auto max = static_cast<size_t>(settings_.listMax());
    if (list_.size() >= max)
        removeListEntry(static_cast<int>(max) - 1);
    insertListEntry(0, std::move(text));
    for (size_t i = 0; i < list_.size(); ++i)
        list_[i].selected = i == 0;
}

void History::captureIntoSlots(std::string text) {
    const int usable = usableSlotCount(settings_);
    closeUpSlots(usable);
    // Shift down by one; when every usable slot is filled the last text falls out.
    for (int i = std::min(filledSlotCount(), usable - 1); i > 0; --i)
        slots_[i].text = std::move(slots_[i - 1].text);
    slots_[0].text = std::move(text);
    for (int i = 0; i < usable; ++i)
        slots_[i].marked = i == 0;
}

// The rules take the first `filledSlotCount` slots as the filled ones. A slot emptied by editing
// (or an empty record in the file) breaks that run, and the shift would overwrite a text: move
// the filled slots up, with their marks, so that they run from slot 0 again, in their order.
void History::closeUpSlots(int usable) {
    int next = 0;
    for (int i = 0; i < usable; ++i) {
        if (slots_[i].text.empty())
            continue;
        if (i != next)
            std::swap(slots_[next], slots_[i]);
        ++next;
    }
}

} // namespace kobako

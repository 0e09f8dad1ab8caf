#include "history.h"

#include <algorithm>

namespace kobako {

// Every check comes before any change, so that an ignored copy leaves the history as it was. The
// text is taken by value and moved into the history: a copy of megabytes costs. The echo of a
// pick is known by its origin alone, never by its text, and leaves the repeat memory alone: a
// copy made elsewhere that equals a picked text is the user's copy all the same.
CaptureOutcome History::capture(std::optional<std::string> clipboardText, ClipboardOrigin origin,
                                Moment madeAt) {
    if (capturePaused_ || origin == ClipboardOrigin::OwnPickWrite || !clipboardText)
        return CaptureOutcome::Ignored;
    std::string &text = *clipboardText;
    // The entries newest first: the list, or the filled slots.
    const bool listMode = settings_.isListMode();
    const std::vector<int> filled = listMode ? std::vector<int>() : filledSlots();
    const size_t count = listMode ? list_.size() : filled.size();
    const auto entryAt = [&](size_t i) -> std::pair<const SharedText &, Moment> {
        if (listMode)
            return {list_[i].text, list_[i].madeAt};
        return {slots_[filled[i]].text, slots_[filled[i]].madeAt};
    };
    size_t later = 0; // entries made after this change
    while (later < count && entryAt(later).second > madeAt)
        ++later;
    if (later == 0) {
        if (count > 0 && lastCaptured_ && *lastCaptured_ == text)
            return CaptureOutcome::Ignored;
        lastCaptured_.emplace() = text;
        // An empty copy is not an entry, and makes no room for one either: nothing is dropped.
        if (text.empty())
            return CaptureOutcome::Stored;
    } else if (text.empty() || entryAt(later - 1).first == text ||
               (later < count && entryAt(later).first == text)) {
        // A late text that repeats the copy just before or after it in time.
        return CaptureOutcome::Ignored;
    }
    const size_t room = listMode ? static_cast<size_t>(settings_.listMax())
                                 : static_cast<size_t>(usableSlotCount(settings_));
    if (later >= room)
        return CaptureOutcome::Ignored; // older than every entry kept
    if (listMode)
        captureIntoList(std::move(text), later, madeAt);
    else
        captureIntoSlots(std::move(text), static_cast<int>(later), madeAt);
    changed();
    return CaptureOutcome::Stored;
}

// The newest text becomes the only selected entry; a late one leaves the selection alone.
void History::captureIntoList(std::string text, size_t at, Moment madeAt) {
    const auto max = static_cast<size_t>(settings_.listMax());
    if (list_.size() >= max)
        removeListEntry(static_cast<int>(max) - 1);
    insertListEntry(static_cast<int>(at), std::move(text), madeAt);
    if (at > 0)
        return;
    for (size_t i = 0; i < list_.size(); ++i)
        list_[i].selected = i == 0;
}

void History::captureIntoSlots(std::string text, int at, Moment madeAt) {
    const int usable = usableSlotCount(settings_);
    closeUpSlots(usable);
    // Shift down by one; when every usable slot is filled the last text falls out.
    for (int i = std::min(filledSlotCount(), usable - 1); i > at; --i) {
        slots_[i].text = std::move(slots_[i - 1].text);
        slots_[i].madeAt = slots_[i - 1].madeAt;
    }
    slots_[at].text = std::move(text);
    slots_[at].madeAt = madeAt;
    for (int i = 0; i < usable; ++i)
        slots_[i].marked = i == 0;
}

std::vector<int> History::filledSlots() const {
    std::vector<int> filled;
    for (int i = 0; i < usableSlotCount(settings_); ++i)
        if (!slots_[i].text.empty())
            filled.push_back(i);
    return filled;
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

void History::forgetIfLastCaptured(const SharedText &deleted) {
    if (lastCaptured_ && *lastCaptured_ == deleted.str())
        lastCaptured_.reset();
}

} // namespace kobako

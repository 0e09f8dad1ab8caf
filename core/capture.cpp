#include "history.h"

#include <algorithm>

namespace kobako {

// The text is taken by value and moved into the history: a copy of megabytes costs. The echo of
// a pick is known by its origin alone, never by its text, and leaves the repeat memory alone: a
// copy made elsewhere that equals a picked text is the user's copy all the same.
CaptureOutcome History::capture(std::optional<std::string> clipboardText, ClipboardOrigin origin) {
    if (capturePaused == 1 || origin == ClipboardOrigin::OwnPickWrite || !clipboardText)
        return CaptureOutcome::Ignored;
    return settings_.isListMode() ? captureIntoList(std::move(*clipboardText))
                                  : captureIntoSlots(std::move(*clipboardText));
}

CaptureOutcome History::captureIntoList(std::string text) {
    if (!list.empty() && text == lastCapturedText)
        return CaptureOutcome::Ignored;
    lastCapturedText = text;
    // An empty copy is not an entry, and makes no room for one either: nothing is dropped.
    if (text.empty())
        return CaptureOutcome::Stored;
    const auto max = static_cast<size_t>(settings_.listMax());
    if (list.size() >= max)
        removeListEntry(static_cast<int>(max) - 1);
    insertListEntry(0, std::move(text));
    for (size_t i = 0; i < list.size(); ++i)
        list[i].selected = i == 0;
    return CaptureOutcome::Stored;
}

// The repeat is checked before anything changes: an ignored copy leaves the slots as the window
// shows them.
CaptureOutcome History::captureIntoSlots(std::string text) {
    if (FilledSlotCount() >= 1 && text == lastCapturedText)
        return CaptureOutcome::Ignored;
    lastCapturedText = text;
    // An empty copy would leave a hole above the filled slots.
    if (text.empty())
        return CaptureOutcome::Stored;
    const int usable = usableSlotCount(settings_);
    closeUpSlots(usable);
    const int filled = FilledSlotCount();

    // Shift down by one; when every usable slot is filled the last text falls out.
    for (int i = std::min(filled, usable - 1); i > 0; --i)
        textSlots[i].text = std::move(textSlots[i - 1].text);
    textSlots[0].text = std::move(text);
    for (int i = 1; i < usable; ++i)
        textSlots[i].check = 0;
    textSlots[0].check = 1;
    return CaptureOutcome::Stored;
}

// The rules take the first `FilledSlotCount` slots as the filled ones. A slot emptied by editing
// (or an empty record in the file) breaks that run, and the shift would overwrite a text: move
// the filled slots up, with their marks, so that they run from slot 0 again, in their order.
void History::closeUpSlots(int usable) {
    int next = 0;
    for (int i = 0; i < usable; ++i) {
        if (textSlots[i].text.empty())
            continue;
        if (i != next)
            std::swap(textSlots[next], textSlots[i]);
        ++next;
    }
}

} // namespace kobako

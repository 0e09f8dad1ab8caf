#pragma once

// The gestures that the slots and the list share: single pick, add to pick and pick all, over
// "entries" that say how many there are, where each is kept (its row), their texts, their marks (a
// slot's check, an item's selection) and how a pick all is shown. Included by the two displays'
// rules only.
#include "history.h"

namespace kobako {

// A pick all's shading ends with the next mouse-up.
template <typename Entries> void History::endPickAll(Entries entries) {
    if (!pickAllShown_)
        return;
    entries.unshade();
    pickAllShown_ = false;
}

// The clicked entry becomes the only marked one, and its text goes on the clipboard alone.
template <typename Entries>
void History::singlePick(Entries entries, int index, ClipboardWriter &clipboard) {
    for (int i = 0, n = entries.count(); i < n; ++i)
        entries.mark(i, i == index);
    entries.mark(index, true); // also a slot above an empty one, outside the count
    joinedText_.clear();
    clipboard.clear();
    clipboard.setText(entries.text(index));
}

// The clicked entry's text joins those picked before. False when the click has just unmarked
// an entry marked at the last mouse-up: a text is never taken twice, the mark comes back and the
// clipboard stays empty.
template <typename Entries>
bool History::addToPick(Entries entries, int index, ClipboardWriter &clipboard) {
    clipboard.clear();
    const auto remembered = static_cast<size_t>(entries.row(index));
    const bool wasMarked =
        remembered < marksAtLastRelease_.size() && marksAtLastRelease_[remembered];
    if (!joinedText_.empty() && wasMarked) {
        entries.mark(index, true);
        return false;
    }
    int markedCount = 0;
    int firstOther = -1;
    for (int i = 0, n = entries.count(); i < n; ++i) {
        if (!entries.marked(i))
            continue;
        ++markedCount;
        if (i != index && firstOther < 0)
            firstOther = i;
    }
    // The second marked entry brings in the text of the single pick before it.
    if (markedCount == 2 && entries.text(firstOther).str() != joinedText_)
        joinedText_ += entries.text(firstOther).str();
    if (entries.marked(index))
        joinedText_ += entries.text(index).str();
    clipboard.clear();
    clipboard.setText(joinedText_);
    return true;
}

// Every text from the first entry on goes on the clipboard, joined; the display is shaded.
template <typename Entries> void History::pickAll(Entries entries, ClipboardWriter &clipboard) {
    clipboard.clear();
    joinedText_.clear();
    for (int i = 0, n = entries.count(); i < n; ++i) {
        entries.mark(i, false);
        joinedText_ += entries.text(i).str();
    }
    pickAllShown_ = true;
    entries.shade();
    clipboard.clear();
    clipboard.setText(joinedText_);
}

// The marks as this mouse-up leaves them, for the next add to pick.
template <typename Entries> void History::rememberMarks(Entries entries) {
    for (int i = 0, n = entries.count(); i < n; ++i) {
        const auto row = static_cast<size_t>(entries.row(i));
        if (marksAtLastRelease_.size() <= row)
            marksAtLastRelease_.resize(row + 1);
        marksAtLastRelease_[row] = entries.marked(i);
    }
}

} // namespace kobako

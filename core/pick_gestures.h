#pragma once

// The gestures that the slots and the list share: single pick, add to pick and pick all, over
// "entries" that say how many there are, their texts, their marks (a slot's check, an item's
// selection) and how a pick all is shown. Included by the two displays' rules only.
#include "history.h"

namespace kobako {

// A pick all's shading ends with the next mouse-up.
template <typename Entries> void History::endPickAll(Entries entries) {
    if (!pick_.selectAllActive)
        return;
    entries.unshade();
    pick_.selectAllActive = false;
}

// The clicked entry becomes the only marked one, and its text goes on the clipboard alone.
template <typename Entries>
void History::singlePick(Entries entries, int index, ClipboardWriter &clipboard) {
    pick_.pickCount = 0;
    for (int i = 0, n = entries.count(); i < n; ++i)
        entries.mark(i, i == index);
    entries.mark(index, true); // also a slot above an empty one, outside the count
    restartPick(entries.text(index));
    clipboard.Clear();
    clipboard.SetText(pick_.pickedTexts[0]);
}

// The clicked entry's text joins those picked before. False when the click has just unmarked
// an entry marked at the last mouse-up: a text is never taken twice, the mark comes back and the
// clipboard stays empty.
template <typename Entries>
bool History::addToPick(Entries entries, int index, ClipboardWriter &clipboard) {
    clipboard.Clear();
    const std::vector<int16_t> &before = pick_.lastSelection;
    const bool wasMarked = static_cast<size_t>(index) < before.size() && before[index] == 1;
    if (!pick_.joinedText.empty() && wasMarked) {
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
    if (markedCount == 2 && entries.text(firstOther).str() != pick_.joinedText)
        appendPick(entries.text(firstOther));
    if (entries.marked(index))
        appendPick(entries.text(index));
    clipboard.Clear();
    clipboard.SetText(pick_.joinedText);
    return true;
}

// Every text from the first entry on goes on the clipboard, joined; the display is shaded.
template <typename Entries> void History::pickAll(Entries entries, ClipboardWriter &clipboard) {
    clipboard.Clear();
    pick_.joinedText.clear();
    pick_.pickCount = 0;
    for (int i = 0, n = entries.count(); i < n; ++i) {
        entries.mark(i, false);
        appendPick(entries.text(i));
    }
    pick_.selectAllActive = true;
    entries.shade();
    clipboard.Clear();
    clipboard.SetText(pick_.joinedText);
}

// The marks as this mouse-up leaves them, for the next add to pick.
template <typename Entries> void History::rememberSelection(Entries entries) {
    const int n = entries.count();
    if (pick_.lastSelection.size() < static_cast<size_t>(n))
        pick_.lastSelection.resize(n);
    for (int i = 0; i < n; ++i)
        pick_.lastSelection[i] = entries.marked(i) ? 1 : 0;
}

} // namespace kobako

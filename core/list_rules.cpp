#include "history.h"
#include "mouse.h"

namespace kobako {

void History::toggleListItem(int row) {
    listIndex = row;
    list[row].selected = !list[row].selected;
}

void History::rememberListSelection() {
    if (lastSelection.size() < list.size())
        lastSelection.resize(list.size());
    for (size_t i = 0; i < list.size(); ++i)
        lastSelection[i] = list[i].selected ? 1 : 0;
}

void History::List1_MouseUp(int button, int shift, ClipboardWriter &clipboard) {
    lastSelection.resize(list.size() + 1);
    if (selectAllActive) {
        if (!list.empty())
            listShaded = false;
        selectAllActive = false;
    }

    const bool hasCurrent = listIndex >= 0 && static_cast<size_t>(listIndex) < list.size();
    if (button == mouse::kLeft && shift == mouse::kNoKeys && hasCurrent) {
        // Single pick: the clicked item becomes the only selected one.
        pickCount = 0;
        for (size_t i = 0; i < list.size(); ++i)
            list[i].selected = static_cast<int>(i) == listIndex;
        restartPick(list[listIndex].text);
        clipboard.Clear();
        clipboard.SetText(pickedTexts[0]);
    } else if (button == mouse::kLeft && shift == mouse::kCtrl && hasCurrent) {
        // Add to pick.
        clipboard.Clear();
        // The click has just deselected an item picked before: it comes back, nothing is
        // taken twice and the clipboard stays empty.
        if (!joinedText.empty() && lastSelection[listIndex] == 1) {
            list[listIndex].selected = true;
            return;
        }
        int selectedCount = 0;
        int firstOther = -1;
        for (size_t i = 0; i < list.size(); ++i) {
            if (!list[i].selected)
                continue;
            ++selectedCount;
            if (static_cast<int>(i) != listIndex && firstOther < 0)
                firstOther = static_cast<int>(i);
        }
        // The second selected item brings in the text of the plain click before it.
        if (selectedCount == 2 && list[firstOther].text != joinedText)
            appendPick(list[firstOther].text);
        if (list[listIndex].selected)
            appendPick(list[listIndex].text);
        clipboard.Clear();
        clipboard.SetText(joinedText);
    } else if (button == mouse::kLeft && shift == mouse::kAlt && hasCurrent) {
        // Pick all: every text from the top, the list greyed.
        clipboard.Clear();
        joinedText.clear();
        pickCount = 0;
        for (size_t i = 0; i < list.size(); ++i) {
            list[i].selected = false;
            appendPick(list[i].text);
        }
        selectAllActive = true;
        listShaded = true;
        clipboard.Clear();
        clipboard.SetText(joinedText);
    } else if (button == mouse::kRight && !list.empty()) {
        for (int i = static_cast<int>(list.size()) - 1; i >= 0; --i)
            if (list[i].selected)
                removeListEntry(i);
    }
    rememberListSelection();
}

} // namespace kobako

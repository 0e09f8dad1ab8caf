#include "history.h"

#include <algorithm>

namespace kobako {

int History::FilledSlotCount() const {
    int count = 0;
    for (int i = 0; i < usableSlotCount(settings_); ++i)
        if (!textSlots[i].text.empty())
            ++count;
    return count;
}

void History::clearAll() {
    for (int i = 0, n = FilledSlotCount(); i < n; ++i)
        textSlots[i].text.clear();
    list.clear();
    listIndex = -1;
}

void History::copySlotsToList(int count) {
    for (int i = 0; i < count; ++i) {
        if (static_cast<size_t>(i) < list.size())
            list[i].text = textSlots[i].text;
        else
            list.push_back({textSlots[i].text, false});
    }
}

void History::copyListToSlots(int count) {
    for (int i = 0; i < std::min(count, kSlotCount); ++i)
        textSlots[i].text = static_cast<size_t>(i) < list.size() ? list[i].text : SharedText();
}

void History::trimList(size_t keep) {
    while (list.size() > keep)
        removeListEntry(static_cast<int>(list.size()) - 1);
}

void History::insertListEntry(int index, std::string text) {
    list.insert(list.begin() + index, ListEntry{std::move(text), false});
    if (listIndex >= index)
        ++listIndex; // the current item stays the same item
}

void History::removeListEntry(int index) {
    list.erase(list.begin() + index);
    if (listIndex == index)
        listIndex = -1;
    else if (listIndex > index)
        --listIndex;
}

void History::appendPick(const SharedText &text) {
    if (pick_.pickedTexts.size() <= static_cast<size_t>(pick_.pickCount))
        pick_.pickedTexts.resize(pick_.pickCount + 1);
    pick_.pickedTexts[pick_.pickCount] = text;
    pick_.joinedText += text.str();
    ++pick_.pickCount;
}

void History::restartPick(const SharedText &text) {
    pick_.pickedTexts.assign(1, text);
    pick_.joinedText.clear();
    pick_.pickCount = 1;
}

} // namespace kobako

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
        textSlots[i].text = static_cast<size_t>(i) < list.size() ? list[i].text : std::string();
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

void History::appendPick(const std::string &text) {
    if (pickedTexts.size() <= static_cast<size_t>(pickCount))
        pickedTexts.resize(pickCount + 1);
    pickedTexts[pickCount] = text;
    joinedText += text;
    ++pickCount;
}

void History::restartPick(const std::string &text) {
    pickedTexts.assign(1, text);
    joinedText.clear();
    pickCount = 1;
}

} // namespace kobako

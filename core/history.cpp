#include "history.h"

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

#include "history.h"
#include "mouse.h"
#include "pick_gestures.h"

#include <algorithm>

namespace kobako {

void History::toggleListItem(int row) {
    listIndex = row;
    list[row].selected = !list[row].selected;
}

void History::moveListIndex(int step) {
    if (list.empty())
        return;
    const int last = static_cast<int>(list.size()) - 1;
    listIndex = listIndex < 0 ? 0 : std::clamp(listIndex + step, 0, last);
}

namespace {

// The list as entries of the shared gestures: every item, marked by selection.
struct ListEntries {
    History &history;
    int count() const { return static_cast<int>(history.list.size()); }
    const SharedText &text(int i) const { return history.list[i].text; }
    bool marked(int i) const { return history.list[i].selected; }
    void mark(int i, bool on) const { history.list[i].selected = on; }
    void shade() const { history.listShaded = true; }
    void unshade() const {
        if (!history.list.empty())
            history.listShaded = false;
    }
};

} // namespace

void History::List1_MouseUp(int button, int shift, ClipboardWriter &clipboard) {
    const ListEntries items{*this};
    pick_.lastSelection.resize(list.size() + 1);
    endPickAll(items);

    const bool hasCurrent = listIndex >= 0 && static_cast<size_t>(listIndex) < list.size();
    if (button == mouse::kLeft && shift == mouse::kNoKeys && hasCurrent) {
        singlePick(items, listIndex, clipboard);
    } else if (button == mouse::kLeft && shift == mouse::kCtrl && hasCurrent) {
        if (!addToPick(items, listIndex, clipboard))
            return;
    } else if (button == mouse::kLeft && shift == mouse::kAlt && hasCurrent) {
        pickAll(items, clipboard);
    } else if (button == mouse::kRight && !list.empty()) {
        for (int i = static_cast<int>(list.size()) - 1; i >= 0; --i)
            if (list[i].selected)
                removeListEntry(i);
    }
    rememberSelection(items);
}

} // namespace kobako

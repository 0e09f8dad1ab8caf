#include "history.h"
#include "pick_gestures.h"

#include <algorithm>

namespace kobako {

void History::toggleListItem(int row) {
    currentRow_ = row;
    list_[row].selected = !list_[row].selected;
}

void History::moveCurrentRow(int step) {
    if (list_.empty())
        return;
    const int last = static_cast<int>(list_.size()) - 1;
    currentRow_ = currentRow_ < 0 ? 0 : std::clamp(currentRow_ + step, 0, last);
}

// Every item, marked by selection.
struct History::ListEntries {
    History &history;
    int count() const { return static_cast<int>(history.list_.size()); }
    const SharedText &text(int i) const { return history.list_[i].text; }
    bool marked(int i) const { return history.list_[i].selected; }
    void mark(int i, bool on) const { history.list_[i].selected = on; }
    void shade() const { history.listShaded_ = true; }
    void unshade() const {
        if (!history.list_.empty())
            history.listShaded_ = false;
    }
};

void History::releaseOnList(MouseButton button, Modifiers keys, ClipboardWriter &clipboard) {
    const ListEntries items{*this};
    marksAtLastRelease_.resize(list_.size() + 1);
    endPickAll(items);

    const bool hasCurrent = currentRow_ >= 0 && static_cast<size_t>(currentRow_) < list_.size();
    const bool left = button == MouseButton::Left;
    if (left && keys == Modifiers::None && hasCurrent) {
        singlePick(items, currentRow_, clipboard);
    } else if (left && keys == Modifiers::Ctrl && hasCurrent) {
        if (!addToPick(items, currentRow_, clipboard))
            return;
    } else if (left && keys == Modifiers::Alt && hasCurrent) {
        pickAll(items, clipboard);
    } else if (button == MouseButton::Right && !list_.empty()) {
        for (int i = static_cast<int>(list_.size()) - 1; i >= 0; --i) {
            if (!list_[i].selected)
                continue;
            forgetIfLastCaptured(list_[i].text);
            removeListEntry(i);
            changed();
        }
    }
    rememberMarks(items);
}

} // namespace kobako

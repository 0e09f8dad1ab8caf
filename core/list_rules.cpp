#include "history.h"
#include "pick_gestures.h"

#include <algorithm>

namespace kobako {

void History::toggleListItem(int row) {
    currentRow_ = row;
    list_[row].selected = !list_[row].selected;
}

void History::moveCurrentRow(int step) {
    const int count = shownCount();
    if (count == 0)
        return;
    const int place = placeOfRow(currentRow_);
    currentRow_ = rowAtPlace(place < 0 ? 0 : std::clamp(place + step, 0, count - 1));
}

void History::showOnly(std::vector<int> rows) {
    for (size_t row = 0, next = 0; row < list_.size(); ++row) {
        const bool shown = next < rows.size() && rows[next] == static_cast<int>(row);
        next += shown;
        if (!shown)
            list_[row].selected = false;
        if (!shown && row < marksAtLastRelease_.size())
            marksAtLastRelease_[row] = false;
    }
    shown_ = std::move(rows);
}

int History::shownCount() const {
    return static_cast<int>(shown_ ? shown_->size() : list_.size());
}

int History::placeOfRow(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= list_.size())
        return -1;
    if (!shown_)
        return row;
    const auto at = std::ranges::lower_bound(*shown_, row);
    return at != shown_->end() && *at == row ? static_cast<int>(at - shown_->begin()) : -1;
}

// Every item shown, marked by selection; the marks are remembered by row.
struct History::ListEntries {
    History &history;
    int count() const { return history.shownCount(); }
    int row(int i) const { return history.rowAtPlace(i); }
    const SharedText &text(int i) const { return history.list_[row(i)].text; }
    bool marked(int i) const { return history.list_[row(i)].selected; }
    void mark(int i, bool on) const { history.list_[row(i)].selected = on; }
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

    const int current = placeOfRow(currentRow_);
    const bool hasCurrent = current >= 0;
    const bool left = button == MouseButton::Left;
    if (left && keys == Modifiers::None && hasCurrent) {
        singlePick(items, current, clipboard);
    } else if (left && keys == Modifiers::Ctrl && hasCurrent) {
        if (!addToPick(items, current, clipboard))
            return;
    } else if (left && keys == Modifiers::Alt && hasCurrent) {
        pickAll(items, clipboard);
    } else if (button == MouseButton::Right) {
        for (int place = shownCount() - 1; place >= 0; --place) {
            const int row = rowAtPlace(place);
            if (!list_[row].selected)
                continue;
            forgetIfLastCaptured(list_[row].text);
            removeListEntry(row);
            changed();
        }
    }
    rememberMarks(items);
}

} // namespace kobako

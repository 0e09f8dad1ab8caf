#include "history.h"
#include "pick_gestures.h"

namespace kobako {

// The filled run from slot 0, marked by check.
struct History::SlotEntries {
    History &history;
    int count() const { return history.filledSlotCount(); }
    int row(int i) const { return i; }
    const SharedText &text(int i) const { return history.slots_[i].text; }
    bool marked(int i) const { return history.slots_[i].marked; }
    void mark(int i, bool on) const { history.slots_[i].marked = on; }
    void shade() const { setShading(true); }
    void unshade() const { setShading(false); }
    void setShading(bool on) const {
        for (int i = 0, n = count(); i < n; ++i)
            history.slots_[i].shaded = on;
    }
};

void History::toggleSlotMark(int index) {
    slots_[index].marked = !slots_[index].marked;
}

void History::releaseOnSlotMark(int index, MouseButton button, Modifiers keys,
                                ClipboardWriter &clipboard) {
    Slot &clicked = slots_[index];
    if (clicked.text.empty()) {
        clicked.marked = false;
        return;
    }
    const SlotEntries slots{*this};
    marksAtLastRelease_.resize(filledSlotCount() + 1);
    endPickAll(slots);

    const bool anyFilled = filledSlotCount() > 0;
    const bool left = button == MouseButton::Left;
    if (left && keys == Modifiers::None) {
        singlePick(slots, index, clipboard);
    } else if (left && keys == Modifiers::Ctrl && anyFilled) {
        if (!addToPick(slots, index, clipboard))
            return;
    } else if (left && keys == Modifiers::Alt && anyFilled) {
        pickAll(slots, clipboard);
    } else if (button == MouseButton::Right && anyFilled && clicked.marked) {
        deleteSlot(index);
    }
    rememberMarks(slots);
}

// The checked slot's text goes; the texts below move up.
void History::deleteSlot(int index) {
    forgetIfLastCaptured(slots_[index].text);
    changed();
    const int filled = filledSlotCount();
    for (int l = 0; l < filled; ++l)
        slots_[l].marked = false;
    if (index < filled) {
        for (int i = index; i <= filled - 2; ++i) {
            slots_[i].text = std::move(slots_[i + 1].text);
            slots_[i].madeAt = slots_[i + 1].madeAt;
        }
        slots_[filled - 1].text.clear();
    } else {
        // A filled slot above an empty one is not part of the run: delete only itself.
        slots_[index].marked = false;
        slots_[index].text.clear();
    }
}

void History::clickSlotText(int index, ClipboardWriter &clipboard) {
    releaseOnSlotMark(index, MouseButton::Left, Modifiers::None, clipboard);
}

bool History::beforeTyping(int index, ClipboardWriter &clipboard) {
    if (!slots_[index].marked)
        return false;
    const TypingPause pause(*this);
    clipboard.clear();
    clipboard.setText(slots_[index].text);
    return true;
}

bool History::pressSlotText(int index, MouseButton button, ClipboardWriter &clipboard) {
    if (button != MouseButton::Right || !slots_[index].text.empty() || slots_[index].marked)
        return false;
    for (int i = 0, n = filledSlotCount(); i < n; ++i)
        slots_[i].marked = false;
    clipboard.clear();
    return true;
}

} // namespace kobako

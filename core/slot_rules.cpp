#include "history.h"
#include "mouse.h"
#include "pick_gestures.h"

namespace kobako {

namespace {

// The slots as entries of the shared gestures: the filled run from slot 0, marked by check.
struct SlotEntries {
    History &history;
    int count() const { return history.FilledSlotCount(); }
    const SharedText &text(int i) const { return history.textSlots[i].text; }
    bool marked(int i) const { return history.textSlots[i].check == 1; }
    void mark(int i, bool on) const { history.textSlots[i].check = on ? 1 : 0; }
    void shade() const { setShading(true); }
    void unshade() const { setShading(false); }
    void setShading(bool on) const {
        for (int i = 0, n = count(); i < n; ++i)
            history.textSlots[i].shaded = on;
    }
};

} // namespace

void History::Check1_MouseUp(int index, int button, int shift, ClipboardWriter &clipboard) {
    Slot &clicked = textSlots[index];
    if (clicked.text.empty()) {
        clicked.check = 0;
        return;
    }
    const SlotEntries slots{*this};
    pick_.lastSelection.resize(FilledSlotCount() + 1);
    endPickAll(slots);

    const bool anyFilled = FilledSlotCount() > 0;
    if (button == mouse::kLeft && shift == mouse::kNoKeys) {
        pick_.activeSlot = index;
        singlePick(slots, index, clipboard);
    } else if (button == mouse::kLeft && shift == mouse::kCtrl && anyFilled) {
        if (!addToPick(slots, index, clipboard))
            return;
        pick_.activeSlot = index;
    } else if (button == mouse::kLeft && shift == mouse::kAlt && anyFilled) {
        pickAll(slots, clipboard);
    } else if (button == mouse::kRight && anyFilled && clicked.check == 1) {
        deleteSlot(index);
    }
    rememberSelection(slots);
}

// The checked slot's text goes; the texts below move up.
void History::deleteSlot(int index) {
    const int filled = FilledSlotCount();
    for (int l = 0; l < filled; ++l)
        textSlots[l].check = 0;
    if (index < filled) {
        for (int i = index; i <= filled - 2; ++i)
            textSlots[i].text = std::move(textSlots[i + 1].text);
        textSlots[filled - 1].text.clear();
    } else {
        // A filled slot above an empty one is not part of the run: delete only itself.
        textSlots[index].check = 0;
        textSlots[index].text.clear();
    }
}

void History::Text1_Click(int index, ClipboardWriter &clipboard) {
    Check1_MouseUp(index, mouse::kLeft, mouse::kNoKeys, clipboard);
}

bool History::Text1_KeyPress(int index, ClipboardWriter &clipboard) {
    if (textSlots[index].check == 0)
        return false;
    capturePaused = 1;
    clipboard.Clear();
    clipboard.SetText(textSlots[index].text);
    capturePaused = 0;
    return true;
}

bool History::Text1_MouseDown(int index, int button, ClipboardWriter &clipboard) {
    if (button != mouse::kRight || !textSlots[index].text.empty() || textSlots[index].check != 0)
        return false;
    for (int i = 0, n = FilledSlotCount(); i < n; ++i)
        textSlots[i].check = 0;
    clipboard.Clear();
    return true;
}

} // namespace kobako

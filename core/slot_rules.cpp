#include "history.h"
#include "mouse.h"

namespace kobako {

void History::rememberSlotSelection() {
    const int filled = FilledSlotCount();
    if (lastSelection.size() < static_cast<size_t>(filled))
        lastSelection.resize(filled);
    for (int g = 0; g < filled; ++g)
        lastSelection[g] = textSlots[g].check == 1 ? 1 : 0;
}

void History::Check1_MouseUp(int index, int button, int shift, ClipboardWriter &clipboard) {
    Slot &clicked = textSlots[index];
    if (clicked.text.empty()) {
        clicked.check = 0;
        return;
    }
    lastSelection.resize(FilledSlotCount() + 1);

    if (selectAllActive) {
        for (int i = 0, n = FilledSlotCount(); i < n; ++i)
            textSlots[i].shaded = false;
        selectAllActive = false;
    }

    if (button == mouse::kLeft && shift == mouse::kNoKeys) {
        // Single pick: the clicked slot becomes the only checked one.
        pickCount = 0;
        for (int g = 0, n = FilledSlotCount(); g < n; ++g)
            textSlots[g].check = g == index ? 1 : 0;
        clicked.check = 1;
        restartPick(clicked.text);
        activeSlot = index;
        clipboard.Clear();
        clipboard.SetText(pickedTexts[0]);
    } else if (button == mouse::kLeft && shift == mouse::kCtrl && FilledSlotCount() > 0) {
        // Add to pick.
        clipboard.Clear();
        // A slot checked when the last mouse-up ended has just been unchecked by this click: a
        // text is never taken twice, the mark comes back and the clipboard stays empty. A slot
        // beyond the remembered ones (above an empty slot) was not checked then.
        const bool wasChecked =
            static_cast<size_t>(index) < lastSelection.size() && lastSelection[index] == 1;
        if (!joinedText.empty() && wasChecked) {
            clicked.check = 1;
            return;
        }
        int checkedCount = 0;
        int firstOther = 0;
        bool otherFound = false;
        for (int g = 0, n = FilledSlotCount(); g < n; ++g) {
            if (textSlots[g].check != 1)
                continue;
            ++checkedCount;
            if (g != index && !otherFound) {
                firstOther = g;
                otherFound = true;
            }
        }
        // The second checked slot brings in the text of the single pick before it.
        if (checkedCount == 2 && textSlots[firstOther].text != joinedText)
            appendPick(textSlots[firstOther].text);
        if (clicked.check == 1)
            appendPick(clicked.text);
        activeSlot = index;
        clipboard.Clear();
        clipboard.SetText(joinedText);
    } else if (button == mouse::kLeft && shift == mouse::kAlt && FilledSlotCount() > 0) {
        // Pick all: every filled text, in slot order, shaded.
        clipboard.Clear();
        joinedText.clear();
        pickCount = 0;
        for (int l = 0, n = FilledSlotCount(); l < n; ++l) {
            textSlots[l].check = 0;
            appendPick(textSlots[l].text);
        }
        selectAllActive = true;
        for (int o = 0, n = FilledSlotCount(); o < n; ++o)
            textSlots[o].shaded = true;
        clipboard.Clear();
        clipboard.SetText(joinedText);
    } else if (button == mouse::kRight && FilledSlotCount() > 0 && clicked.check == 1) {
        // Delete the clicked slot's text; the texts below move up.
        const int filled = FilledSlotCount();
        for (int l = 0; l < filled; ++l)
            textSlots[l].check = 0;
        if (index < filled) {
            for (int i = index; i <= filled - 2; ++i)
                textSlots[i].text = std::move(textSlots[i + 1].text);
            textSlots[filled - 1].text.clear();
        } else {
            // A filled slot above an empty one is not part of the run: delete only itself.
            clicked.check = 0;
            clicked.text.clear();
        }
    }
    rememberSlotSelection();
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

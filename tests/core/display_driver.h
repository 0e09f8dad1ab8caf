#pragma once

#include "core/history.h"
#include "core/mouse.h"

#include <string>
#include <vector>

namespace kobako::testing {

// Drives whichever display the settings choose, as its widgets do: a left press first toggles
// the entry (a list item's selection, a slot's check box), then the handler runs on the release.
class DisplayDriver {
  public:
    DisplayDriver(const Settings &settings, History &history, ClipboardWriter &clipboard)
        : settings_(settings), history_(history), clipboard_(clipboard) {}

    bool isList() const { return settings_.isListMode(); }

    // Puts texts into the display, newest first, unmarked; the slots take the first ten.
    void fill(const std::vector<std::string> &texts) {
        for (size_t i = 0; i < texts.size(); ++i) {
            if (isList())
                history_.list.push_back({texts[i], false});
            else if (i < History::kSlotCount)
                history_.textSlots[i].text = texts[i];
        }
    }

    void leftClick(int row, int shift = mouse::kNoKeys) {
        if (isList()) {
            history_.toggleListItem(row);
            history_.List1_MouseUp(mouse::kLeft, shift, clipboard_);
        } else {
            Slot &slot = history_.textSlots[row];
            slot.check = 1 - slot.check;
            history_.Check1_MouseUp(row, mouse::kLeft, shift, clipboard_);
        }
    }
    void rightClick(int row, int shift = mouse::kNoKeys) {
        if (isList())
            history_.List1_MouseUp(mouse::kRight, shift, clipboard_);
        else
            history_.Check1_MouseUp(row, mouse::kRight, shift, clipboard_);
    }

    // The texts shown, newest first, and their marks.
    std::vector<std::string> texts() const {
        std::vector<std::string> shown;
        if (isList())
            for (const auto &entry : history_.list)
                shown.push_back(entry.text);
        else
            for (int i = 0; i < history_.FilledSlotCount(); ++i)
                shown.push_back(history_.textSlots[i].text);
        return shown;
    }
    std::vector<bool> marks() const {
        std::vector<bool> marked;
        if (isList())
            for (const auto &entry : history_.list)
                marked.push_back(entry.selected);
        else
            for (int i = 0; i < history_.FilledSlotCount(); ++i)
                marked.push_back(history_.textSlots[i].check == 1);
        return marked;
    }

  private:
    const Settings &settings_;
    History &history_;
    ClipboardWriter &clipboard_;
};

} // namespace kobako::testing

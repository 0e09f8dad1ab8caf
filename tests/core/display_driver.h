#pragma once

#include "core/history.h"

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

    void leftClick(int row, Modifiers keys = Modifiers::None) {
        if (isList()) {
            history_.toggleListItem(row);
            history_.releaseOnList(MouseButton::Left, keys, clipboard_);
        } else {
            history_.toggleSlotMark(row);
            history_.releaseOnSlotMark(row, MouseButton::Left, keys, clipboard_);
        }
    }
    void rightClick(int row, Modifiers keys = Modifiers::None) {
        if (isList())
            history_.releaseOnList(MouseButton::Right, keys, clipboard_);
        else
            history_.releaseOnSlotMark(row, MouseButton::Right, keys, clipboard_);
    }

    // The texts shown, newest first, and their marks.
    std::vector<std::string> texts() const {
        std::vector<std::string> shown;
        if (isList())
            for (const auto &entry : history_.list())
                shown.push_back(entry.text);
        else
            for (int i = 0; i < history_.filledSlotCount(); ++i)
                shown.push_back(history_.textSlots()[i].text);
        return shown;
    }
    std::vector<bool> marks() const {
        std::vector<bool> marked;
        if (isList())
            for (const auto &entry : history_.list())
                marked.push_back(entry.selected);
        else
            for (int i = 0; i < history_.filledSlotCount(); ++i)
                marked.push_back(history_.textSlots()[i].marked);
        return marked;
    }

  private:
    const Settings &settings_;
    History &history_;
    ClipboardWriter &clipboard_;
};

} // namespace kobako::testing

#pragma once

#include "core/clipboard_ports.h"
#include "core/settings.h"
#include "platform/paste_after_pick.h"

namespace kobako::ui {

// The clipboard as the pick gestures write it: with the setting on, what a gesture puts on the
// clipboard is then pasted by the program the user types in. A text too large to paste at once
// is left on the clipboard only: converting it would cost the memory of several copies.
class PastingWriter : public ClipboardWriter {
  public:
    static constexpr size_t kLargestPasted = 16 << 20;

    PastingWriter(ClipboardWriter &clipboard, const Settings &settings)
        : clipboard_(clipboard), settings_(settings),
          paster_([&settings](const std::vector<std::string> &windowClass) {
              return pasteKeystrokeFor(settings.otherLines, windowClass);
          }) {}

    void clear() override { clipboard_.clear(); }
    void setText(const SharedText &text) override {
        clipboard_.setText(text);
        if (settings_.pasteAfterPick && pastes(text))
            paster_.paste(text);
    }
    // A text picked by the keyboard, which the program then gives back: pasted whatever the
    // setting, once the other program has the keyboard.
    void pasteOnceGivenBack(const SharedText &text) {
        if (pastes(text))
            paster_.pasteOnceGivenBack(text);
    }

  private:
    static bool pastes(const SharedText &text) {
        return text.size() <= kLargestPasted && !platform::pasteBlocker();
    }

    ClipboardWriter &clipboard_;
    const Settings &settings_;
    platform::PickPaster paster_;
};

} // namespace kobako::ui

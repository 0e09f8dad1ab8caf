#pragma once

#include "clipboard_writer.h"
#include "remembered_text.h"
#include "settings.h"
#include "shared_text.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kobako {

struct ListEntry {
    SharedText text;
    bool selected = false;
};

struct Slot {
    SharedText text;
    int check = 0;       // check box value: 0 clear, 1 checked
    bool shaded = false; // drawn in the button-face colour of a pick all
};

enum class CaptureOutcome {
    Ignored, // nothing changed but possibly `lastCapturedText`
    Stored   // the window step follows: bring a hidden window back
};

// The history window's state: the list and the ten slots with their selection, the pick state
// that both displays share, and what the capture remembers. The widgets only show it.
//
// The rules write the clipboard through a ClipboardWriter whose notification runs `capture`
// before the write returns, so every method leaves the state consistent before each write and
// reads it afresh after.
class History {
  public:
    static constexpr int kSlotCount = Settings::kMaxSlots;

    explicit History(const Settings &settings) : settings_(settings) {}

    // List display: item 0 is the newest; `listIndex` is the item the user's clicks made
    // current, -1 before any.
    std::vector<ListEntry> list;
    int listIndex = -1;
    bool listShaded = false;

    // Text slots: slot 0 is the newest.
    std::array<Slot, kSlotCount> textSlots;

    RememberedText lastCapturedText;
    int capturePaused = 0;

    // What the gestures of both displays share: the texts picked so far and the marks as the
    // last mouse-up left them. Changed only by the gestures below.
    struct PickState {
        int activeSlot = 0;
        int pickCount = 0;
        std::vector<SharedText> pickedTexts;
        std::string joinedText;
        std::vector<int16_t> lastSelection;
        bool selectAllActive = false;
    };
    const PickState &pick() const { return pick_; }

    // The number of non-empty slots among the first `listMax` (at most ten).
    int FilledSlotCount() const;

    // A clipboard change: `clipboardText` is the plain text the clipboard offers, or nothing
    // when it offers none (an image, an emptied clipboard, a secret).
    CaptureOutcome capture(std::optional<std::string> clipboardText, ClipboardOrigin origin);

    // A mouse button released over slot `index`'s check box, after the box's own toggle.
    void Check1_MouseUp(int index, int button, int shift, ClipboardWriter &clipboard);
    // A click or double click on a slot's text: a plain left click on its check box, untoggled.
    void Text1_Click(int index, ClipboardWriter &clipboard);
    // A key producing a character in slot `index`: false refuses it (no check mark). Otherwise
    // the slot's text, before the key, has been put on the clipboard without being captured.
    bool Text1_KeyPress(int index, ClipboardWriter &clipboard);
    // A mouse button pressed on slot `index`'s text: true when the right button on an empty,
    // unchecked slot has cleared the marks and the clipboard, and the user must be told.
    bool Text1_MouseDown(int index, int button, ClipboardWriter &clipboard);

    // The list's own reaction to a left press on `row`: it becomes current and toggles.
    void toggleListItem(int row);
    // Up (-1) and Down (+1): the current item moves by one within the list; without one, the
    // first item becomes current.
    void moveListIndex(int step);
    // A mouse button released over the list, after the list's own reaction to the press.
    void List1_MouseUp(int button, int shift, ClipboardWriter &clipboard);

    // Clear all: the first `FilledSlotCount` slots and the whole list are emptied.
    void clearAll();

    // Switching the display: the first `count` slots' texts become the first list entries (the
    // list grows where it is shorter), or the first `count` list entries fill the slots (a slot
    // beyond the list's end is emptied).
    void copySlotsToList(int count);
    void copyListToSlots(int count);
    // Lowering the list maximum: the oldest entries go until `keep` remain.
    void trimList(size_t keep);

    void insertListEntry(int index, std::string text);
    void removeListEntry(int index);

  private:
    CaptureOutcome captureIntoList(std::string text);
    CaptureOutcome captureIntoSlots(std::string text);
    void closeUpSlots(int usable);
    void deleteSlot(int index);

    void appendPick(const SharedText &text);
    void restartPick(const SharedText &text);

    // The gestures both displays share, over their entries: the filled slots or the list items
    // (core/pick_gestures.h).
    template <typename Entries> void endPickAll(Entries entries);
    template <typename Entries>
    void singlePick(Entries entries, int index, ClipboardWriter &clipboard);
    template <typename Entries>
    bool addToPick(Entries entries, int index, ClipboardWriter &clipboard);
    template <typename Entries> void pickAll(Entries entries, ClipboardWriter &clipboard);
    template <typename Entries> void rememberSelection(Entries entries);

    const Settings &settings_;
    PickState pick_;
};

} // namespace kobako

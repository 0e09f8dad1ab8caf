#pragma once

#include "clipboard_ports.h"
#include "mouse.h"
#include "remembered_text.h"
#include "settings.h"
#include "shared_text.h"

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kobako {

// An entry read from the history file was made before every copy of the session.
struct ListEntry {
    SharedText text;
    bool selected = false;
    Moment madeAt{};
};

struct Slot {
    SharedText text;
    bool marked = false; // its check box
    bool shaded = false; // drawn in the button-face colour of a pick all
    Moment madeAt{};
};

enum class CaptureOutcome {
    Ignored, // nothing changed
    Stored   // the window shows it: a hidden window comes back
};

// What the history window holds: the list and the ten text slots with their marks, the pick
// state that both displays share, and what the capture remembers. The widgets only show it.
//
// The rules write the clipboard through a ClipboardWriter whose notification runs `capture`
// before the write returns, so every method leaves the state consistent before each write and
// reads it afresh after.
class History {
  public:
    static constexpr int kSlotCount = Settings::kMaxSlots;

    explicit History(const Settings &settings) : settings_(settings) {}

    // The list display: entry 0 is the newest. The current row is the entry the user's clicks
    // and keys made current, -1 before any.
    const std::vector<ListEntry> &list() const { return list_; }
    int currentRow() const { return currentRow_; }
    bool listShaded() const { return listShaded_; }
    // The text slots: slot 0 is the newest.
    const std::array<Slot, kSlotCount> &textSlots() const { return slots_; }
    // The number of non-empty slots among the first `listMax` (at most ten).
    int filledSlotCount() const;
    bool holdsAnyText() const { return !list_.empty() || !slots_[0].text.empty(); }

    // The texts read from the history file, newest first: after the list's entries, or into the
    // slots from slot 0 (at most ten), by the display mode.
    void load(std::vector<std::string> records);
    // The texts to save, shared rather than copied: the list, or every filled slot in order.
    std::vector<SharedText> textsToSave() const;

    // The capture button: while paused, no change of the clipboard is looked at.
    bool capturePaused() const { return capturePaused_; }
    void setCapturePaused(bool paused) { capturePaused_ = paused; }
    // A clipboard change: `clipboardText` is the plain text the clipboard offers, or nothing
    // when it offers none (an image, an emptied clipboard, a secret). A text made before copies
    // already taken in (its owner was slow to hand it over) goes below them.
    CaptureOutcome capture(std::optional<std::string> clipboardText, ClipboardOrigin origin,
                           Moment madeAt = kNewest);

    // A slot's check box toggled by a left click, before the release is handled.
    void toggleSlotMark(int index);
    // A mouse button released over slot `index`'s check box.
    void releaseOnSlotMark(int index, MouseButton button, Modifiers keys,
                           ClipboardWriter &clipboard);
    // A click or double click on a slot's text: a plain left click on its check box, untoggled.
    void clickSlotText(int index, ClipboardWriter &clipboard);
    // A key about to type into slot `index`: false refuses it (no check mark). Otherwise the
    // slot's text, before the key, has been put on the clipboard without being captured.
    bool beforeTyping(int index, ClipboardWriter &clipboard);
    // The slot's text as the user's typing left it.
    void editSlot(int index, std::string text);
    // A mouse button pressed on slot `index`'s text: true when the right button on an empty,
    // unmarked slot has cleared the marks and the clipboard, and the user must be told.
    bool pressSlotText(int index, MouseButton button, ClipboardWriter &clipboard);

    // The list's own reaction to a left press on `row`: it becomes current and toggles.
    void toggleListItem(int row);
    // Up (-1) and Down (+1): the current row moves by one within the list; without one, the
    // first entry becomes current.
    void moveCurrentRow(int step);
    // A mouse button released over the list, after the list's own reaction to the press.
    void releaseOnList(MouseButton button, Modifiers keys, ClipboardWriter &clipboard);

    // Finding by typing: only the list's entries at `rows` (ascending) are shown, and the list's
    // gestures act on them alone (a join all joins what is shown, a delete deletes only what is
    // shown); the others lose their selection, so that nothing unseen is deleted. `showAll` ends
    // it. Rows shown are counted in places: place 0 is the newest entry shown.
    void showOnly(std::vector<int> rows);
    void showAll() { shown_.reset(); }
    bool showsAll() const { return !shown_; }
    int shownCount() const;
    int rowAtPlace(int place) const { return shown_ ? (*shown_)[place] : place; }
    // The place where `row` is shown, -1 where it is not.
    int placeOfRow(int row) const;

    // Clear all: the first `filledSlotCount` slots and the whole list are emptied.
    void clearAll();

    // Switching the display: the first `count` slots' texts become the first list entries (the
    // list grows where it is shorter), or the first `count` list entries fill the slots (a slot
    // beyond the list's end is emptied).
    void copySlotsToList(int count);
    void copyListToSlots(int count);
    // Lowering the list maximum: the oldest entries go until `keep` remain.
    void trimList(size_t keep);

    // Counts the changes of what the history file holds (a text, the order, the number of
    // entries); picks and marks leave it as it is.
    unsigned revision() const { return revision_; }

  private:
    // Typing into a slot puts its text on the clipboard; that write is not looked at, and the
    // capture button's state is as it was afterwards.
    class TypingPause {
      public:
        explicit TypingPause(History &history)
            : history_(history), before_(std::exchange(history.capturePaused_, true)) {}
        ~TypingPause() { history_.capturePaused_ = before_; }

      private:
        History &history_;
        bool before_;
    };

    CaptureOutcome captureLate(std::string text, Moment madeAt);
    void captureIntoList(std::string text, size_t at, Moment madeAt);
    void captureIntoSlots(std::string text, int at, Moment madeAt);
    std::vector<int> filledSlots() const;
    void closeUpSlots(int usable);
    void deleteSlot(int index);
    void insertListEntry(int index, std::string text, Moment madeAt);
    void removeListEntry(int index);
    // A deleted entry that held the text taken last takes the repeat rule's memory with it.
    void forgetIfLastCaptured(const SharedText &deleted);
    void changed() { ++revision_; }

    // The gestures both displays share, over their entries: the filled slots or the list items
    // (core/pick_gestures.h).
    template <typename Entries> void endPickAll(Entries entries);
    template <typename Entries>
    void singlePick(Entries entries, int index, ClipboardWriter &clipboard);
    template <typename Entries>
    bool addToPick(Entries entries, int index, ClipboardWriter &clipboard);
    template <typename Entries> void pickAll(Entries entries, ClipboardWriter &clipboard);
    template <typename Entries> void rememberMarks(Entries entries);

    const Settings &settings_;
    std::vector<ListEntry> list_;
    std::optional<std::vector<int>> shown_; // the rows shown while finding by typing
    int currentRow_ = -1;
    bool listShaded_ = false;
    std::array<Slot, kSlotCount> slots_;

    std::optional<RememberedText> lastCaptured_;
    bool capturePaused_ = false;
    unsigned revision_ = 0;

    // What the gestures of both displays share: the texts joined so far and the marks as the
    // last mouse-up left them.
    std::string joinedText_;
    std::vector<bool> marksAtLastRelease_;
    bool pickAllShown_ = false;

    // The two displays as entries of the shared gestures.
    struct ListEntries;
    struct SlotEntries;
};

} // namespace kobako

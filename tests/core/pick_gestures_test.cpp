// The gestures on the list and on the slots: single pick, add to pick, pick all and the
// combinations that are no gesture follow one rule on both displays; deleting and what only one
// display has are tested on that display.
#include "core/history.h"
#include "display_driver.h"
#include "fake_clipboard.h"

#include <gtest/gtest.h>

namespace kobako {
namespace {

using testing::DisplayDriver;
using testing::HistoryParts;
using Texts = std::vector<std::string>;

class Gestures : public ::testing::Test, protected HistoryParts, protected DisplayDriver {
  protected:
    explicit Gestures(DisplayMode mode) : DisplayDriver(settings, history, clipboard) {
        settings.displayMode = mode;
        settings.setListMaxText("10");
    }

    bool shaded() const { return isList() ? history.listShaded() : history.textSlots()[0].shaded; }
};

class BothDisplays : public Gestures, public ::testing::WithParamInterface<DisplayMode> {
  protected:
    BothDisplays() : Gestures(GetParam()) {}
};

INSTANTIATE_TEST_SUITE_P(Displays, BothDisplays,
                         ::testing::Values(DisplayMode::List, DisplayMode::TextBoxes),
                         [](const auto &info) {
                             return info.param == DisplayMode::List ? "List" : "Slots";
                         });

TEST_P(BothDisplays, SinglePickLeavesOnlyTheClickedEntryMarked) {
    history.load({"a", "b", "c", "d"});
    for (int row : {0, 3}) // marked beforehand
        isList() ? history.toggleListItem(row) : history.toggleSlotMark(row);
    leftClick(2);
    EXPECT_EQ(marks(), (std::vector<bool>{false, false, true, false}));
    EXPECT_EQ(clipboard.content, "c");
    EXPECT_EQ(texts(), (Texts{"a", "b", "c", "d"})); // the echo of that write was swallowed
}

TEST_P(BothDisplays, AddToPickJoinsEachTextOnce) {
    history.load({"a", "b", "c"});
    Texts seen;
    for (int i = 0; i < 3; ++i) {
        leftClick(i, Modifiers::Ctrl);
        seen.push_back(clipboard.content.value_or("<none>"));
    }
    EXPECT_EQ(seen, (Texts{"a", "ab", "abc"}));

    // After a single pick, its text is the first of the join.
    leftClick(0);
    leftClick(1, Modifiers::Ctrl);
    EXPECT_EQ(clipboard.content, "ab");
    EXPECT_EQ(texts(), (Texts{"a", "b", "c"})); // no write became an entry

    // Again on an entry already picked: it stays marked and the clipboard is left empty.
    leftClick(1, Modifiers::Ctrl);
    EXPECT_TRUE(marks()[1]);
    EXPECT_FALSE(clipboard.content.has_value());
    leftClick(2, Modifiers::Ctrl); // and the join goes on without it
    EXPECT_EQ(clipboard.content, "abc");

    // On the only pick after a single pick: it comes off, and the join is an empty text.
    leftClick(0);
    leftClick(0, Modifiers::Ctrl);
    EXPECT_FALSE(marks()[0]);
    EXPECT_EQ(clipboard.content, "");
    EXPECT_EQ(texts().size(), 3u);
}

TEST_P(BothDisplays, PickAllJoinsShadesAndTheNextClickEndsTheShade) {
    history.load({"a", "b", "c", "d"});
    leftClick(2);
    leftClick(1, Modifiers::Alt);
    EXPECT_EQ(clipboard.content, "abcd");
    EXPECT_EQ(marks(), std::vector<bool>(4, false));
    EXPECT_TRUE(shaded());
    EXPECT_EQ(texts().size(), 4u);

    // An add to pick after it appends a fifth text: the four picked, then the clicked one.
    leftClick(3, Modifiers::Ctrl);
    EXPECT_FALSE(shaded());
    EXPECT_TRUE(marks()[3]);
    EXPECT_EQ(clipboard.content, "abcdd");
}

// Shift alone joins all as Alt does; two modifiers together, Super and the like are no gesture:
// only the display's own reaction stays.
TEST_P(BothDisplays, ShiftJoinsAllAndOtherKeyCombinationsWriteNothing) {
    EXPECT_EQ(modifiersHeld(true, false, false, false), Modifiers::Alt);
    // clang-format off
    for (auto [shift, ctrl, alt, other] : {std::tuple{true, true, false, false},
             {true, false, true, false}, {false, true, true, false}, {false, false, false, true}})
        EXPECT_EQ(modifiersHeld(shift, ctrl, alt, other), Modifiers::Other);
    // clang-format on
    history.load({"a", "b"});
    leftClick(1, Modifiers::Other);
    EXPECT_TRUE(clipboard.writes.empty());
    EXPECT_TRUE(marks()[1]);
}

class FoundList : public Gestures {
  protected:
    FoundList() : Gestures(DisplayMode::List) {}
    // A click on the entry shown at `place`.
    void clickShown(int place, Modifiers keys = Modifiers::None) {
        leftClick(history.rowAtPlace(place), keys);
    }
};

TEST_F(FoundList, GesturesActOnTheEntriesShownAlone) {
    history.load({"a1", "b", "a2", "c", "a3"});
    history.toggleListItem(1); // selected before the search: hidden, it must not be deleted
    history.showOnly({0, 2, 4});
    clickShown(1, Modifiers::Alt);
    EXPECT_EQ(clipboard.content, "a1a2a3"); // a join all joins what is shown
    history.moveCurrentRow(1);
    EXPECT_EQ(history.currentRow(), 4); // Down goes to the next entry shown
    // A copy arrives: selected, but not shown; the entries shown stay the same entries.
    history.capture("new", ClipboardOrigin::Elsewhere);
    clickShown(0);
    clickShown(1, Modifiers::Ctrl);
    EXPECT_EQ(clipboard.content, "a1a2");
    rightClick(0);
    EXPECT_EQ(texts(), (Texts{"new", "b", "c", "a3"}));
    EXPECT_EQ(history.shownCount(), 1);
    EXPECT_EQ(history.placeOfRow(3), 0);
}

class Slots : public Gestures {
  protected:
    Slots() : Gestures(DisplayMode::TextBoxes) {}
};

TEST_F(Slots, PressesOnAnEmptySlotClearMarksAndClipboardAndWriteNothing) {
    history.load({"a", "b"});
    history.toggleSlotMark(0);
    history.toggleSlotMark(7);
    clipboard.content = "something";
    EXPECT_FALSE(history.pressSlotText(1, MouseButton::Right, clipboard)); // filled
    EXPECT_FALSE(history.pressSlotText(5, MouseButton::Left, clipboard));
    EXPECT_TRUE(history.pressSlotText(5, MouseButton::Right, clipboard));
    EXPECT_FALSE(history.textSlots()[0].marked);
    EXPECT_TRUE(history.textSlots()[7].marked); // beyond the filled run
    EXPECT_FALSE(clipboard.content.has_value());
    leftClick(3); // a click on an empty slot unmarks it and writes nothing
    EXPECT_FALSE(history.textSlots()[3].marked);
    EXPECT_TRUE(clipboard.writes.empty());
}

// A filled slot below an empty one is no part of the run: deleted, it goes alone, and clear all
// leaves it.
TEST_F(Slots, ASlotBeyondTheRunIsDeletedAloneAndKeptByClearAll) {
    settings.setListMaxText("5");
    history.load({"a", "", "c", "", "e"});
    history.toggleSlotMark(4);
    rightClick(4);
    EXPECT_EQ(history.textSlots()[4].text, "");
    history.clearAll();
    EXPECT_EQ(history.textSlots()[0].text, "");
    EXPECT_EQ(history.textSlots()[2].text, "c"); // the count was 2: slots 0 and 1 only
}

// Switching the display hands the texts over (a slot beyond the list is emptied); lowering the
// maximum drops the oldest; Up and Down stay within the list.
TEST_F(Slots, SwitchingDisplaysHandsTheTextsOver) {
    history.load({"a", "b", "c"});
    history.copySlotsToList(3);
    settings.displayMode = DisplayMode::List;
    history.trimList(2);
    EXPECT_EQ(texts(), (Texts{"a", "b"}));
    for (int step : {-1, +1, +1})
        history.moveCurrentRow(step);
    EXPECT_EQ(history.currentRow(), 1);
    settings.displayMode = DisplayMode::TextBoxes;
    history.copyListToSlots(3);
    EXPECT_EQ(texts(), (Texts{"a", "b"}));
}

TEST(SlotCount, FilledSlotsAreCountedAmongTheFirstListMaximum) {
    for (auto [listMax, filled, counted] :
         {std::tuple{"5", 3, 3}, {"2", 5, 2}, {"20", 10, 10}, {"0", 4, 1}, {"-4", 4, 1}}) {
        Settings settings;
        settings.displayMode = DisplayMode::TextBoxes;
        settings.setListMaxText(listMax);
        History history(settings);
        history.load(Texts(filled, " "));
        EXPECT_EQ(history.filledSlotCount(), counted) << listMax;
    }
}

} // namespace
} // namespace kobako

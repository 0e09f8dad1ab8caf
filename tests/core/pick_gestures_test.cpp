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
using testing::FakeClipboard;

struct HistoryParts {
    Settings settings;
    History history{settings};
    FakeClipboard clipboard{history};
};

class Gestures : public ::testing::Test, protected HistoryParts, protected DisplayDriver {
  protected:
    explicit Gestures(DisplayMode mode) : DisplayDriver(settings, history, clipboard) {
        settings.displayMode = mode;
        settings.setListMaxText("10");
    }

    void mark(int row) {
        if (isList())
            history.list[row].selected = true;
        else
            history.textSlots[row].check = 1;
    }
    bool shaded() const { return isList() ? history.listShaded : history.textSlots[0].shaded; }
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
    fill({"a", "b", "c", "d"});
    mark(0);
    mark(3);
    leftClick(2);
    EXPECT_EQ(marks(), (std::vector<bool>{false, false, true, false}));
    EXPECT_EQ(clipboard.content, "c");
    EXPECT_EQ(history.pick().pickCount, 1);
    EXPECT_EQ(history.pick().joinedText, "");
    if (!isList()) {
        EXPECT_EQ(history.pick().activeSlot, 2);
    }
    // The echo of that write was swallowed.
    EXPECT_EQ(texts(), (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST_P(BothDisplays, AddToPickJoinsEachTextOnce) {
    fill({"a", "b", "c"});
    std::vector<std::string> seen;
    for (int i = 0; i < 3; ++i) {
        leftClick(i, mouse::kCtrl);
        seen.push_back(clipboard.content.value_or("<none>"));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "ab", "abc"}));
    EXPECT_EQ(history.pick().pickCount, 3);

    // After a single pick, its text is recorded a second time as the first of the join.
    leftClick(0);
    leftClick(1, mouse::kCtrl);
    EXPECT_EQ(clipboard.content, "ab");
    EXPECT_EQ(history.pick().pickCount, 3);
    EXPECT_EQ(history.pick().joinedText, "ab");
    EXPECT_EQ(texts(), (std::vector<std::string>{"a", "b", "c"})); // no write became an entry

    // Again on an entry already picked: it stays marked and the clipboard is left empty.
    const auto remembered = history.pick().lastSelection;
    leftClick(1, mouse::kCtrl);
    EXPECT_TRUE(marks()[1]);
    EXPECT_FALSE(clipboard.content.has_value());
    EXPECT_EQ(history.pick().joinedText, "ab");
    EXPECT_EQ(history.pick().lastSelection, remembered);
}

TEST_P(BothDisplays, AddToPickOnTheOnlyPickAfterASinglePickPutsAnEmptyText) {
    fill({"a", "b"});
    leftClick(0);
    leftClick(0, mouse::kCtrl);
    EXPECT_FALSE(marks()[0]);
    EXPECT_EQ(clipboard.content, "");
    EXPECT_EQ(texts().size(), 2u);
}

TEST_P(BothDisplays, PickAllJoinsShadesAndTheNextClickEndsTheShade) {
    fill({"a", "b", "c", "d"});
    leftClick(2);
    leftClick(1, mouse::kAlt);
    EXPECT_EQ(clipboard.content, "abcd");
    EXPECT_EQ(marks(), std::vector<bool>(4, false));
    EXPECT_TRUE(shaded());
    EXPECT_EQ(history.pick().pickCount, 4);
    EXPECT_EQ(texts().size(), 4u);

    // An add to pick after it appends a fifth text: the four picked, then the clicked one.
    leftClick(3, mouse::kCtrl);
    EXPECT_FALSE(shaded());
    EXPECT_TRUE(marks()[3]);
    EXPECT_EQ(clipboard.content, "abcdd");
}

TEST_P(BothDisplays, OtherKeyCombinationsOnlyKeepTheDisplaysOwnReaction) {
    fill({"a", "b"});
    for (int shift : {mouse::kShift, mouse::kCtrl | mouse::kShift, mouse::kCtrl | mouse::kAlt,
                      mouse::kOtherKey}) {
        SCOPED_TRACE(shift);
        leftClick(1, shift);
        EXPECT_TRUE(clipboard.writes.empty());
        EXPECT_EQ(history.pick().lastSelection.at(1), marks()[1] ? 1 : 0);
    }
}

TEST_P(BothDisplays, PickAllOfFiftyLargeTextsGoesOnTheClipboardIntact) {
    settings.setListMaxText("50");
    std::string expected;
    for (int i = 0; i < (isList() ? 50 : History::kSlotCount); ++i) {
        std::string text(100 * 1024, static_cast<char>('a' + i % 26));
        text += std::to_string(i);
        if (isList())
            history.list.push_back({text, false});
        else
            history.textSlots[i].text = text;
        expected += text;
    }
    leftClick(0, mouse::kAlt);
    EXPECT_EQ(clipboard.content, expected);
}

// A right click deletes what is marked: all the selected items of the list, but on the slots
// only the clicked one, and only when it is checked; the rest move up and nothing is written.
TEST_P(BothDisplays, RightClickDeletesWhatIsMarked) {
    fill({"0", "1", "2", "3", "4"});
    mark(1);
    mark(3);
    clipboard.content = "kept";
    rightClick(1, mouse::kCtrl);
    EXPECT_EQ(texts(), isList() ? (std::vector<std::string>{"0", "2", "4"})
                                : (std::vector<std::string>{"0", "2", "3", "4"}));
    EXPECT_EQ(marks(), std::vector<bool>(texts().size(), false));
    EXPECT_EQ(clipboard.content, "kept");

    const size_t left = texts().size();
    rightClick(0); // nothing marked: nothing deleted
    EXPECT_EQ(texts().size(), left);
}

class Slots : public Gestures {
  protected:
    Slots() : Gestures(DisplayMode::TextBoxes) {}
};

TEST_F(Slots, AClickOnAnEmptySlotUnchecksItAndChangesNothingElse) {
    fill({"a"});
    leftClick(0);
    const auto marks = history.pick().lastSelection;
    leftClick(3);
    EXPECT_EQ(history.textSlots[3].check, 0);
    EXPECT_EQ(clipboard.writes.size(), 1u);
    EXPECT_EQ(history.pick().lastSelection, marks);
}

TEST_F(Slots, DeletingAFilledSlotAboveAHoleDeletesExactlyThatText) {
    fill({"", "b", "c"}); // two filled slots, but the run 0..1 holds only "b"
    history.textSlots[2].check = 1;
    rightClick(2);
    EXPECT_EQ(history.textSlots[1].text, "b");
    EXPECT_EQ(history.textSlots[2].text, "");
}

// A checked slot above an empty one lies outside the counted run: a plain click on it picks it
// all the same, and it stays checked as it moves up.
TEST_F(Slots, SinglePickAboveAHoleKeepsThePickedSlotChecked) {
    fill({"", "b", "c"});
    mark(2);
    leftClick(2);
    EXPECT_EQ(clipboard.content, "c");
    EXPECT_EQ(history.textSlots[2].text, "c");
    EXPECT_EQ(history.textSlots[2].check, 1);
    EXPECT_EQ(history.textSlots[1].check, 0);
}

TEST_F(Slots, AddToPickAboveAHoleReadsNoRememberedMarkAndItsEchoIsSwallowed) {
    fill({"", "b", "c"});
    leftClick(2, mouse::kCtrl);
    EXPECT_EQ(clipboard.content, "c");
    // The echo changes nothing: the slots stay as they were, the clicked one checked.
    EXPECT_EQ(history.textSlots[1].text, "b");
    EXPECT_EQ(history.textSlots[2].text, "c");
    EXPECT_EQ(history.textSlots[2].check, 1);
    EXPECT_EQ(history.FilledSlotCount(), 2);
}

TEST_F(Slots, TypingRuleWritesTheTextBeforeTheKeyWithoutCapturingIt) {
    fill({"abc"});
    EXPECT_FALSE(history.Text1_KeyPress(0, clipboard)); // no check mark
    EXPECT_TRUE(clipboard.writes.empty());
    history.textSlots[0].check = 1;
    history.capturePaused = 1; // paused by the capture button: typing resumes capture
    EXPECT_TRUE(history.Text1_KeyPress(0, clipboard));
    EXPECT_EQ(clipboard.content, "abc");
    EXPECT_EQ(history.capturePaused, 0);
    EXPECT_EQ(history.FilledSlotCount(), 1);
}

TEST_F(Slots, RightPressOnAnEmptyUncheckedSlotClearsMarksAndClipboard) {
    fill({"a", "b"});
    history.textSlots[0].check = 1;
    history.textSlots[7].check = 1;
    clipboard.content = "something";
    EXPECT_FALSE(history.Text1_MouseDown(1, mouse::kRight, clipboard)); // filled
    EXPECT_FALSE(history.Text1_MouseDown(5, mouse::kLeft, clipboard));
    EXPECT_TRUE(history.Text1_MouseDown(5, mouse::kRight, clipboard));
    EXPECT_EQ(history.textSlots[0].check, 0);
    EXPECT_EQ(history.textSlots[7].check, 1); // beyond the filled run
    EXPECT_FALSE(clipboard.content.has_value());
}

TEST_F(Slots, ClearAllEmptiesTheCountedRunAndTheList) {
    settings.setListMaxText("5");
    fill({"a", "", "c"});
    history.list.push_back({"x", false});
    history.clearAll();
    EXPECT_EQ(history.textSlots[0].text, "");
    EXPECT_EQ(history.textSlots[2].text, "c"); // the count was 2: slots 0 and 1 only
    EXPECT_TRUE(history.list.empty());
}

TEST(FilledSlotCount, CountsNonEmptySlotsAmongTheFirstListMaximum) {
    for (auto [listMax, filled, counted] :
         {std::tuple{"5", 3, 3}, {"2", 5, 2}, {"20", 10, 10}, {"0", 4, 1}, {"-4", 4, 1}}) {
        Settings settings;
        settings.setListMaxText(listMax);
        History history(settings);
        for (int i = 0; i < filled; ++i)
            history.textSlots[i].text = " ";
        EXPECT_EQ(history.FilledSlotCount(), counted) << listMax;
    }
}

class List : public Gestures {
  protected:
    List() : Gestures(DisplayMode::List) {}
};

TEST_F(List, AnEmptyListWritesNothing) {
    history.List1_MouseUp(mouse::kLeft, mouse::kNoKeys, clipboard);
    history.List1_MouseUp(mouse::kLeft, mouse::kAlt, clipboard);
    EXPECT_TRUE(clipboard.writes.empty());
}

TEST_F(List, ClearAllWhileShadedKeepsTheShadeUntilALaterPickAll) {
    fill({"a", "b"});
    leftClick(0, mouse::kAlt);
    history.clearAll();
    history.List1_MouseUp(mouse::kLeft, mouse::kNoKeys, clipboard);
    EXPECT_FALSE(history.pick().selectAllActive);
    EXPECT_TRUE(history.listShaded);
}

} // namespace
} // namespace kobako

#include "core/history.h"
#include "core/mouse.h"
#include "fake_clipboard.h"

#include <gtest/gtest.h>

namespace kobako {
namespace {

using testing::FakeClipboard;

class SlotRules : public ::testing::Test {
  protected:
    SlotRules() {
        settings.displayMode = DisplayMode::TextBoxes;
        settings.setListMaxText("10");
    }
    void fill(std::initializer_list<const char *> texts) {
        int i = 0;
        for (auto text : texts)
            history.textSlots[i++].text = text;
    }
    // A left click on a check box toggles it before the handler runs.
    void leftClick(int index, int shift = mouse::kNoKeys) {
        history.textSlots[index].check = 1 - history.textSlots[index].check;
        history.Check1_MouseUp(index, mouse::kLeft, shift, clipboard);
    }
    std::vector<int> checks() const {
        std::vector<int> values;
        for (const auto &slot : history.textSlots)
            values.push_back(slot.check);
        return values;
    }

    Settings settings;
    History history{settings};
    FakeClipboard clipboard{history};
};

TEST_F(SlotRules, SinglePickLeavesOnlyTheClickedSlotChecked) {
    fill({"a", "b", "c", "d"});
    history.textSlots[0].check = 1;
    history.textSlots[3].check = 1;
    leftClick(2);
    EXPECT_EQ(checks(), (std::vector<int>{0, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(clipboard.content, "c");
    EXPECT_EQ(history.pick().pickCount, 1);
    EXPECT_EQ(history.pick().joinedText, "");
    EXPECT_EQ(history.pick().activeSlot, 2);
    // The echo of that write was swallowed.
    EXPECT_EQ(history.textSlots[0].text, "a");
    EXPECT_EQ(history.FilledSlotCount(), 4);

    leftClick(2); // the toggle unchecks it; the pick checks it again
    EXPECT_EQ(history.textSlots[2].check, 1);
    EXPECT_EQ(clipboard.content, "c");
}

TEST_F(SlotRules, EmptySlotIsUncheckedAndNothingElseMoves) {
    fill({"a"});
    leftClick(0);
    const auto marks = history.pick().lastSelection;
    const auto writes = clipboard.writes.size();
    leftClick(3);
    EXPECT_EQ(history.textSlots[3].check, 0);
    EXPECT_EQ(clipboard.writes.size(), writes);
    EXPECT_EQ(history.pick().lastSelection, marks);
}

TEST_F(SlotRules, CtrlPicksFromTheStartJoinEachTextOnce) {
    fill({"a", "b", "c"});
    std::vector<std::string> seen;
    for (int i = 0; i < 3; ++i) {
        leftClick(i, mouse::kCtrl);
        seen.push_back(clipboard.content.value_or("<none>"));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "ab", "abc"}));
    EXPECT_EQ(history.pick().pickCount, 3);
    EXPECT_EQ(history.FilledSlotCount(), 3); // no write came back as an entry
}

TEST_F(SlotRules, PlainThenCtrlPickRecordsTheFirstTextTwice) {
    fill({"a", "b"});
    leftClick(0);
    leftClick(1, mouse::kCtrl);
    EXPECT_EQ(clipboard.content, "ab");
    EXPECT_EQ(history.pick().pickCount, 3);
    EXPECT_EQ(history.pick().joinedText, "ab");
    EXPECT_EQ(history.FilledSlotCount(), 2);
}

TEST_F(SlotRules, CtrlOnAnAlreadyPickedSlotKeepsItAndLeavesTheClipboardEmpty) {
    fill({"a", "b", "c"});
    leftClick(0);
    leftClick(1, mouse::kCtrl);
    const auto before = history.pick().lastSelection;
    leftClick(1, mouse::kCtrl);
    EXPECT_EQ(history.textSlots[1].check, 1);
    EXPECT_FALSE(clipboard.content.has_value());
    EXPECT_EQ(history.pick().joinedText, "ab");
    EXPECT_EQ(history.pick().lastSelection, before);
}

TEST_F(SlotRules, CtrlOnTheOnlyPickAfterAPlainClickPutsAnEmptyText) {
    fill({"a", "b"});
    leftClick(0);
    leftClick(0, mouse::kCtrl);
    EXPECT_EQ(history.textSlots[0].check, 0);
    EXPECT_EQ(clipboard.content, "");
    EXPECT_EQ(history.FilledSlotCount(), 2);
}

TEST_F(SlotRules, PickAllJoinsShadesAndTheNextClickUnshades) {
    fill({"a", "b", "c", "d"});
    leftClick(2);
    leftClick(1, mouse::kAlt);
    EXPECT_EQ(clipboard.content, "abcd");
    EXPECT_EQ(checks(), std::vector<int>(10, 0));
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(history.textSlots[i].shaded);
    EXPECT_EQ(history.pick().activeSlot, 2);
    EXPECT_EQ(history.FilledSlotCount(), 4);

    // Add to pick after pick all appends a fifth text: four picked, then the clicked one.
    leftClick(3, mouse::kCtrl);
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(history.textSlots[i].shaded);
    EXPECT_EQ(clipboard.content, "abcdd");
}

TEST_F(SlotRules, RightClickDeletesACheckedSlotAndMovesTheRestUp) {
    fill({"a", "b", "c", "d"});
    history.textSlots[1].check = 1;
    history.textSlots[3].check = 1;
    history.Check1_MouseUp(1, mouse::kRight, mouse::kShift, clipboard);
    EXPECT_EQ(history.textSlots[1].text, "c");
    EXPECT_EQ(history.textSlots[2].text, "d");
    EXPECT_EQ(history.textSlots[3].text, "");
    EXPECT_EQ(checks(), std::vector<int>(10, 0));

    history.Check1_MouseUp(0, mouse::kRight, mouse::kNoKeys, clipboard); // unchecked: nothing
    EXPECT_EQ(history.textSlots[0].text, "a");
}

TEST_F(SlotRules, ModifierCombinationsOnlyKeepTheToggle) {
    fill({"a", "b"});
    for (int shift : {mouse::kShift, mouse::kCtrl | mouse::kShift, mouse::kCtrl | mouse::kAlt,
                      mouse::kOtherKey}) {
        SCOPED_TRACE(shift);
        const auto writes = clipboard.writes.size();
        leftClick(1, shift);
        EXPECT_EQ(clipboard.writes.size(), writes);
        EXPECT_EQ(history.pick().lastSelection[1], history.textSlots[1].check);
    }
}

TEST_F(SlotRules, DeletingAFilledSlotAboveAHoleDeletesExactlyThatText) {
    fill({"", "b", "c"}); // two filled slots, but the run 0..1 holds only "b"
    history.textSlots[2].check = 1;
    history.Check1_MouseUp(2, mouse::kRight, mouse::kNoKeys, clipboard);
    EXPECT_EQ(history.textSlots[1].text, "b");
    EXPECT_EQ(history.textSlots[2].text, "");
}

TEST_F(SlotRules, CtrlPickAboveAHoleReadsNoRememberedMarkAndItsEchoIsSwallowed) {
    fill({"", "b", "c"});
    leftClick(2, mouse::kCtrl);
    EXPECT_EQ(clipboard.content, "c");
    // The capture closed the run up before looking for the echo: nothing new was stored.
    EXPECT_EQ(history.textSlots[0].text, "b");
    EXPECT_EQ(history.textSlots[1].text, "c");
    EXPECT_EQ(history.textSlots[1].check, 1);
    EXPECT_EQ(history.FilledSlotCount(), 2);
}

TEST_F(SlotRules, TypingRuleWritesTheTextBeforeTheKeyWithoutCapturingIt) {
    fill({"abc"});
    EXPECT_FALSE(history.Text1_KeyPress(0, clipboard)); // no check mark
    EXPECT_TRUE(clipboard.writes.empty());
    history.textSlots[0].check = 1;
    history.capturePaused = 1; // paused by the capture button: typing resumes capture
    EXPECT_TRUE(history.Text1_KeyPress(0, clipboard));
    EXPECT_EQ(clipboard.content, "abc");
    EXPECT_EQ(history.capturePaused, 0);
    EXPECT_EQ(history.FilledSlotCount(), 1);
    EXPECT_EQ(history.textSlots[1].text, "");
}

TEST_F(SlotRules, RightPressOnAnEmptyUncheckedSlotClearsMarksAndClipboard) {
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

TEST_F(SlotRules, ClearAllEmptiesTheRunAndTheList) {
    settings.setListMaxText("5");
    fill({"a", "", "c"});
    history.list.push_back({"x", false});
    history.clearAll();
    EXPECT_EQ(history.textSlots[0].text, "");
    EXPECT_EQ(history.textSlots[1].text, "");
    EXPECT_EQ(history.textSlots[2].text, "c"); // the count was 2: slots 0 and 1 only
    EXPECT_TRUE(history.list.empty());
}

TEST(FilledSlotCount, CountsNonEmptyAmongTheFirstListMax) {
    struct Case {
        const char *listMax;
        int filledSlots;
        int expected;
    };
    for (auto c : {Case{"5", 3, 3}, Case{"2", 5, 2}, Case{"20", 10, 10}, Case{"0", 4, 0},
                   Case{"-4", 4, 0}}) {
        Settings settings;
        settings.setListMaxText(c.listMax);
        History history(settings);
        for (int i = 0; i < c.filledSlots; ++i)
            history.textSlots[i].text = " ";
        EXPECT_EQ(history.FilledSlotCount(), c.expected) << c.listMax;
    }
}

} // namespace
} // namespace kobako

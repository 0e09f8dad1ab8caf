#include "core/history.h"
#include "core/mouse.h"
#include "fake_clipboard.h"

#include <gtest/gtest.h>

namespace kobako {
namespace {

using testing::FakeClipboard;

class ListRules : public ::testing::Test {
  protected:
    void fill(std::initializer_list<const char *> texts) {
        for (auto text : texts)
            history.list.push_back({text, false});
    }
    // The list's own reaction to the press comes before the handler on the release.
    void leftClick(int row, int shift = mouse::kNoKeys) {
        history.toggleListItem(row);
        history.List1_MouseUp(mouse::kLeft, shift, clipboard);
    }
    std::vector<bool> selection() const {
        std::vector<bool> flags;
        for (const auto &entry : history.list)
            flags.push_back(entry.selected);
        return flags;
    }

    Settings settings;
    History history{settings};
    FakeClipboard clipboard{history};
};

TEST_F(ListRules, PlainClickPicksOnlyTheClickedItem) {
    fill({"a", "b", "c", "d", "e"});
    history.list[0].selected = history.list[4].selected = true;
    leftClick(2);
    EXPECT_EQ(selection(), (std::vector<bool>{false, false, true, false, false}));
    EXPECT_EQ(clipboard.content, "c");
    EXPECT_EQ(history.pick().pickCount, 1);
    EXPECT_EQ(history.pick().joinedText, "");
    EXPECT_EQ(history.list.size(), 5u); // the echo did not enter the history
}

TEST_F(ListRules, PlainThenCtrlJoinsBothTexts) {
    fill({"abc", "def"});
    leftClick(0);
    leftClick(1, mouse::kCtrl);
    EXPECT_EQ(clipboard.content, "abcdef");
    EXPECT_EQ(history.pick().pickCount, 3);
    EXPECT_EQ(history.list.size(), 2u);
}

TEST_F(ListRules, CtrlFromNothingRecordsTheFirstOnce) {
    fill({"A", "B"});
    leftClick(0, mouse::kCtrl);
    leftClick(1, mouse::kCtrl);
    EXPECT_EQ(clipboard.content, "AB");
    EXPECT_EQ(history.pick().pickCount, 2);
}

TEST_F(ListRules, CtrlOnAPickedItemKeepsItAndEmptiesTheClipboard) {
    fill({"A", "B", "C"});
    leftClick(0);
    leftClick(1, mouse::kCtrl);
    const auto remembered = history.pick().lastSelection;
    leftClick(1, mouse::kCtrl);
    EXPECT_TRUE(history.list[1].selected);
    EXPECT_FALSE(clipboard.content.has_value());
    EXPECT_EQ(history.pick().lastSelection, remembered);
}

TEST_F(ListRules, CtrlOnTheOnlySelectedItemAfterAPlainClickPutsAnEmptyText) {
    fill({"A", "B"});
    leftClick(0);
    leftClick(0, mouse::kCtrl);
    EXPECT_FALSE(history.list[0].selected);
    EXPECT_EQ(clipboard.content, "");
    EXPECT_EQ(history.list.size(), 2u);
}

TEST_F(ListRules, AltPicksAllGreysAndTheNextReleaseRestores) {
    fill({"x", "y", "z"});
    leftClick(1, mouse::kAlt);
    EXPECT_EQ(clipboard.content, "xyz");
    EXPECT_EQ(selection(), (std::vector<bool>{false, false, false}));
    EXPECT_TRUE(history.listShaded);
    EXPECT_EQ(history.pick().pickCount, 3);

    leftClick(2, mouse::kCtrl);
    EXPECT_FALSE(history.listShaded);
    EXPECT_TRUE(history.list[2].selected);
    EXPECT_EQ(clipboard.content, "xyzz");
    EXPECT_EQ(history.list.size(), 3u);
}

TEST_F(ListRules, RightClickRemovesTheSelectedItems) {
    fill({"0", "1", "2", "3", "4"});
    history.list[1].selected = history.list[3].selected = true;
    clipboard.content = "kept";
    history.List1_MouseUp(mouse::kRight, mouse::kCtrl, clipboard);
    ASSERT_EQ(history.list.size(), 3u);
    EXPECT_EQ(history.list[0].text, "0");
    EXPECT_EQ(history.list[1].text, "2");
    EXPECT_EQ(history.list[2].text, "4");
    EXPECT_EQ(selection(), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(std::vector<int16_t>(history.pick().lastSelection.begin(),
                                   history.pick().lastSelection.begin() + 3),
              (std::vector<int16_t>{0, 0, 0}));
    EXPECT_EQ(clipboard.content, "kept");

    history.List1_MouseUp(mouse::kRight, mouse::kNoKeys, clipboard); // nothing selected
    EXPECT_EQ(history.list.size(), 3u);
}

TEST_F(ListRules, OtherCombinationsAndAnEmptyListWriteNothing) {
    fill({"a", "b"});
    for (int shift : {mouse::kShift, mouse::kCtrl | mouse::kAlt, mouse::kCtrl | mouse::kShift}) {
        leftClick(0, shift);
        EXPECT_TRUE(clipboard.writes.empty()) << shift;
    }
    History empty(settings);
    FakeClipboard emptyClipboard(empty);
    empty.List1_MouseUp(mouse::kLeft, mouse::kNoKeys, emptyClipboard);
    empty.List1_MouseUp(mouse::kLeft, mouse::kAlt, emptyClipboard);
    EXPECT_TRUE(emptyClipboard.writes.empty());
}

TEST_F(ListRules, ClearAllWhileGreyKeepsTheGreyUntilALaterPickAll) {
    fill({"a", "b"});
    leftClick(0, mouse::kAlt);
    history.clearAll();
    history.List1_MouseUp(mouse::kLeft, mouse::kNoKeys, clipboard);
    EXPECT_FALSE(history.pick().selectAllActive);
    EXPECT_TRUE(history.listShaded);
}

TEST_F(ListRules, PickAllOfFiftyLargeTextsGoesOnTheClipboardIntact) {
    std::string expected;
    for (int i = 0; i < 50; ++i) {
        std::string text(100 * 1024, static_cast<char>('a' + i % 26));
        text += std::to_string(i);
        history.list.push_back({text, false});
        expected += text;
    }
    leftClick(0, mouse::kAlt);
    EXPECT_EQ(clipboard.content, expected);
    EXPECT_EQ(history.list.size(), 50u);
}

} // namespace
} // namespace kobako

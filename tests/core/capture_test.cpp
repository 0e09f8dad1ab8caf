#include "core/history.h"
#include "core/mouse.h"
#include "fake_clipboard.h"

#include <gtest/gtest.h>

namespace kobako {
namespace {

using testing::FakeClipboard;

std::vector<std::string> listTexts(const History &history) {
    std::vector<std::string> texts;
    for (const auto &entry : history.list)
        texts.push_back(entry.text);
    return texts;
}

std::vector<std::string> slotTexts(const History &history) {
    std::vector<std::string> texts;
    for (const auto &slot : history.textSlots)
        texts.push_back(slot.text);
    return texts;
}

class ListCapture : public ::testing::Test {
  protected:
    Settings settings;
    History history{settings};
    FakeClipboard clipboard{history};
};

TEST_F(ListCapture, NewestFirstRepeatsDroppedOnlyWhenImmediate) {
    for (auto text : {"one", "two", "two", "three"})
        clipboard.copyElsewhere(text);
    EXPECT_EQ(listTexts(history), (std::vector<std::string>{"three", "two", "one"}));
    EXPECT_TRUE(history.list[0].selected);
    EXPECT_FALSE(history.list[1].selected);
    EXPECT_FALSE(history.list[2].selected);

    History other(settings);
    FakeClipboard otherClipboard(other);
    for (auto text : {"A", "B", "A"})
        otherClipboard.copyElsewhere(text);
    EXPECT_EQ(listTexts(other), (std::vector<std::string>{"A", "B", "A"}));
}

TEST_F(ListCapture, NoTextPausedOrRepeatChangeNothing) {
    clipboard.copyElsewhere("a");
    EXPECT_EQ(history.capture(std::nullopt, ClipboardOrigin::Elsewhere), CaptureOutcome::Ignored);
    history.capturePaused = 1;
    EXPECT_EQ(clipboard.copyElsewhere("b"), CaptureOutcome::Ignored);
    EXPECT_TRUE(history.lastCapturedText == "a");
    history.capturePaused = 0;
    EXPECT_EQ(clipboard.copyElsewhere("a"), CaptureOutcome::Ignored);
    EXPECT_EQ(listTexts(history), (std::vector<std::string>{"a"}));
}

TEST_F(ListCapture, FullListDropsTheEntryAtTheMaximum) {
    for (auto text : {"1", "2", "3", "4", "5"})
        clipboard.copyElsewhere(text);
    history.list[2].selected = true;
    clipboard.copyElsewhere("6");
    EXPECT_EQ(listTexts(history), (std::vector<std::string>{"6", "5", "4", "3", "2"}));
    for (size_t i = 1; i < history.list.size(); ++i)
        EXPECT_FALSE(history.list[i].selected);
}

TEST_F(ListCapture, LongerListThanMaximumKeepsItsLengthRemovingAtTheMaximum) {
    settings.setListMaxText("8");
    for (auto text : {"1", "2", "3", "4", "5", "6", "7", "8"})
        clipboard.copyElsewhere(text);
    settings.setListMaxText("3");
    clipboard.copyElsewhere("9");
    // "6" sat at index 2 and is the one removed.
    EXPECT_EQ(listTexts(history),
              (std::vector<std::string>{"9", "8", "7", "5", "4", "3", "2", "1"}));
}

TEST_F(ListCapture, EmptyTextIsNotStoredAndDropsNothing) {
    for (auto text : {"1", "2", "3", "4", "5"})
        clipboard.copyElsewhere(text);
    EXPECT_EQ(clipboard.copyElsewhere(""), CaptureOutcome::Stored);
    EXPECT_EQ(history.list.size(), 5u);
}

TEST_F(ListCapture, MaximumBelowOneKeepsOnlyTheNewest) {
    settings.setListMaxText("0");
    clipboard.copyElsewhere("a");
    clipboard.copyElsewhere("b");
    EXPECT_EQ(listTexts(history), (std::vector<std::string>{"b"}));
    settings.setListMaxText("-7");
    clipboard.copyElsewhere("c");
    EXPECT_EQ(listTexts(history), (std::vector<std::string>{"c"}));
}

TEST_F(ListCapture, TextsAreKeptByteForByte) {
    const std::string texts[] = {
        "a\r\nb",      "lone\rcr",           "lone\nlf",
        "tab\tbell\a", "日本語\r\nテキスト", std::string(3 * 1024 * 1024, 'x')};
    for (const auto &text : texts)
        clipboard.copyElsewhere(text);
    ASSERT_EQ(history.list.size(), 5u);
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(history.list[i].text, texts[5 - i]);
}

class SlotCapture : public ::testing::Test {
  protected:
    SlotCapture() { settings.displayMode = DisplayMode::TextBoxes; }
    Settings settings;
    History history{settings};
    FakeClipboard clipboard{history};
};

TEST_F(SlotCapture, FullSlotsShiftDownAndOnlyTheNewestIsChecked) {
    settings.setListMaxText("3");
    for (auto text : {"one", "two", "three"})
        clipboard.copyElsewhere(text);
    history.textSlots[1].check = 1;
    history.textSlots[2].check = 1;
    history.textSlots[5].text = "hidden";
    history.textSlots[5].check = 1;
    clipboard.copyElsewhere("four");
    EXPECT_EQ(slotTexts(history),
              (std::vector<std::string>{"four", "three", "two", "", "", "hidden", "", "", "", ""}));
    EXPECT_EQ(history.textSlots[0].check, 1);
    EXPECT_EQ(history.textSlots[1].check, 0);
    EXPECT_EQ(history.textSlots[2].check, 0);
    EXPECT_EQ(history.textSlots[5].check, 1); // beyond the list maximum: untouched
}

TEST_F(SlotCapture, FirstTextGoesToSlotZero) {
    clipboard.copyElsewhere("x");
    EXPECT_EQ(history.textSlots[0].text, "x");
    EXPECT_EQ(history.textSlots[0].check, 1);
    EXPECT_EQ(history.FilledSlotCount(), 1);
}

TEST_F(SlotCapture, MaximumAboveTenActsAsTen) {
    settings.setListMaxText("60");
    for (int i = 0; i < 12; ++i)
        clipboard.copyElsewhere(std::to_string(i));
    EXPECT_EQ(history.textSlots[0].text, "11");
    EXPECT_EQ(history.textSlots[9].text, "2");
    EXPECT_EQ(history.FilledSlotCount(), 10);
}

TEST_F(SlotCapture, MaximumZeroOverwritesSlotZero) {
    settings.setListMaxText("0");
    clipboard.copyElsewhere("a");
    clipboard.copyElsewhere("b");
    EXPECT_EQ(history.textSlots[0].text, "b");
    EXPECT_EQ(history.textSlots[1].text, "");
    EXPECT_EQ(history.textSlots[0].check, 1);
}

TEST_F(SlotCapture, EmptyTextLeavesNoHole) {
    clipboard.copyElsewhere("a");
    clipboard.copyElsewhere("");
    clipboard.copyElsewhere("b");
    EXPECT_EQ(slotTexts(history)[0], "b");
    EXPECT_EQ(slotTexts(history)[1], "a");
    EXPECT_EQ(history.FilledSlotCount(), 2);
}

TEST_F(SlotCapture, AnEmptiedSlotIsClosedUpInsteadOfOverwritten) {
    for (auto text : {"c", "b", "a"})
        clipboard.copyElsewhere(text);
    history.textSlots[1].text.clear(); // the user erased "b" by typing
    clipboard.copyElsewhere("new");
    EXPECT_EQ(slotTexts(history)[0], "new");
    EXPECT_EQ(slotTexts(history)[1], "a");
    EXPECT_EQ(slotTexts(history)[2], "c");
}

// After any gesture that writes the clipboard, the write itself never becomes an entry, and every
// later copy made elsewhere does, also one equal to a picked text.
struct PickThenCopy {
    const char *name;
    bool listMode;
    int row;
    int shift;
    std::vector<std::string> expected; // newest first
};

class PickThenCopyTest : public ::testing::TestWithParam<PickThenCopy> {};

TEST_P(PickThenCopyTest, EveryLaterCopyIsStoredAndNoWriteIs) {
    const PickThenCopy &c = GetParam();
    Settings settings;
    settings.displayMode = c.listMode ? DisplayMode::List : DisplayMode::TextBoxes;
    History history(settings);
    FakeClipboard clipboard(history);
    clipboard.copyElsewhere("alpha");
    clipboard.copyElsewhere("beta"); // newest: row 0
    auto click = [&](int row, int shift) {
        if (c.listMode) {
            history.toggleListItem(row);
            history.List1_MouseUp(mouse::kLeft, shift, clipboard);
        } else {
            history.textSlots[row].check = history.textSlots[row].check == 1 ? 0 : 1;
            history.Check1_MouseUp(row, mouse::kLeft, shift, clipboard);
        }
    };
    click(c.row, mouse::kNoKeys);
    if (c.shift != mouse::kNoKeys)
        click(1 - c.row, c.shift);
    for (auto text : {"gamma", "delta", "alpha"})
        EXPECT_EQ(clipboard.copyElsewhere(text), CaptureOutcome::Stored) << c.name << " " << text;
    std::vector<std::string> texts;
    for (size_t i = 0; i < c.expected.size(); ++i)
        texts.push_back(c.listMode ? history.list.at(i).text : history.textSlots.at(i).text);
    EXPECT_EQ(texts, c.expected) << c.name;
    if (c.listMode) {
        EXPECT_EQ(history.list.size(), c.expected.size()) << c.name;
    }
}

const std::vector<std::string> kAfterCopies = {"alpha", "delta", "gamma", "beta", "alpha"};
INSTANTIATE_TEST_SUITE_P(
    Gestures, PickThenCopyTest,
    ::testing::Values(PickThenCopy{"list, plain click on the newest", true, 0, 0, kAfterCopies},
                      PickThenCopy{"list, plain then Ctrl", true, 1, mouse::kCtrl, kAfterCopies},
                      PickThenCopy{"list, pick all", true, 0, mouse::kAlt, kAfterCopies},
                      PickThenCopy{"slots, plain click on the newest", false, 0, 0, kAfterCopies},
                      PickThenCopy{"slots, plain then Ctrl", false, 1, mouse::kCtrl, kAfterCopies},
                      PickThenCopy{"slots, pick all", false, 0, mouse::kAlt, kAfterCopies}));

// A long text is remembered without a second copy, and still compared exactly enough: the same
// text again is a repeat, one differing in a single byte anywhere is not.
TEST_F(ListCapture, TheRepeatRuleHoldsForLongTexts) {
    const std::string big(3 << 20, 'x');
    EXPECT_EQ(clipboard.copyElsewhere(big), CaptureOutcome::Stored);
    EXPECT_EQ(clipboard.copyElsewhere(big), CaptureOutcome::Ignored);
    for (size_t at : {size_t{0}, big.size() / 2, big.size() - 1}) {
        std::string other = big;
        other[at] = 'y';
        EXPECT_EQ(clipboard.copyElsewhere(other), CaptureOutcome::Stored) << at;
    }
    EXPECT_EQ(clipboard.copyElsewhere(big + "z"), CaptureOutcome::Stored);
    EXPECT_EQ(history.list.size(), 5u);
}

TEST_F(ListCapture, APickWriteUpdatesTheRepeatMemoryButIsNoEntry) {
    clipboard.copyElsewhere("one");
    clipboard.copyElsewhere("two");
    EXPECT_EQ(history.capture(std::string("one"), ClipboardOrigin::OwnPickWrite),
              CaptureOutcome::Ignored);
    EXPECT_TRUE(history.lastCapturedText == "one");
    EXPECT_EQ(clipboard.copyElsewhere("one"), CaptureOutcome::Ignored); // the repeat rule
    EXPECT_EQ(clipboard.copyElsewhere("two"), CaptureOutcome::Stored);
    EXPECT_EQ(listTexts(history), (std::vector<std::string>{"two", "two", "one"}));
}

} // namespace
} // namespace kobako

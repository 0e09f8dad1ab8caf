#include "core/history.h"
#include "fake_clipboard.h"

#include <gtest/gtest.h>

#include <algorithm>

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

// A pick's write is no copy and leaves the repeat memory alone: another program's copy of the
// text just given back, or just joined, is the user's own and comes to the top.
TEST_F(ListCapture, ACopyElsewhereOfAPickedOrJoinedTextIsStored) {
    for (auto text : {"a", "b", "c"})
        clipboard.copyElsewhere(text);
    history.toggleListItem(2);
    history.List1_MouseUp(1, 0, clipboard); // a plain click gives "a" back
    EXPECT_EQ(clipboard.copyElsewhere("a"), CaptureOutcome::Stored);
    history.toggleListItem(1);
    history.List1_MouseUp(1, 0, clipboard); // "c"
    history.toggleListItem(2);
    history.List1_MouseUp(1, 2, clipboard); // Ctrl+click joins "b": "cb"
    ASSERT_EQ(clipboard.content, "cb");
    EXPECT_EQ(clipboard.copyElsewhere("cb"), CaptureOutcome::Stored);
    EXPECT_EQ(listTexts(history), (std::vector<std::string>{"cb", "a", "c", "b", "a"}));
}

TEST_F(ListCapture, FullListDropsTheEntryAtTheMaximumAndSelectsOnlyTheNewest) {
    for (auto text : {"1", "2", "3", "4", "5"})
        clipboard.copyElsewhere(text);
    history.list[2].selected = true;
    clipboard.copyElsewhere("6");
    EXPECT_EQ(listTexts(history), (std::vector<std::string>{"6", "5", "4", "3", "2"}));
    EXPECT_TRUE(history.list[0].selected);
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

TEST_F(SlotCapture, AnEmptiedSlotIsClosedUpInsteadOfOverwritten) {
    for (auto text : {"c", "b", "a"})
        clipboard.copyElsewhere(text);
    history.textSlots[1].text.clear(); // the user erased "b" by typing
    // A repeat changes nothing: the hole stays where the window shows it.
    EXPECT_EQ(clipboard.copyElsewhere("a"), CaptureOutcome::Ignored);
    EXPECT_EQ(slotTexts(history)[1], "");
    clipboard.copyElsewhere("new");
    EXPECT_EQ(slotTexts(history)[0], "new");
    EXPECT_EQ(slotTexts(history)[1], "a");
    EXPECT_EQ(slotTexts(history)[2], "c");
}

// A list maximum outside what the display holds keeps at least the newest text, and never more
// than the ten slots.
TEST(CaptureLimits, AMaximumOutOfRangeKeepsTheNewestAndAtMostTenSlots) {
    struct Case {
        DisplayMode mode;
        const char *listMax;
        std::vector<std::string> kept; // newest first
    };
    const auto L = DisplayMode::List, T = DisplayMode::TextBoxes;
    for (const Case &c : {Case{L, "0", {"11"}}, Case{L, "-7", {"11"}}, Case{T, "0", {"11"}},
                          Case{T, "60", {"11", "10", "9", "8", "7", "6", "5", "4", "3", "2"}}}) {
        SCOPED_TRACE(c.listMax);
        Settings settings;
        settings.displayMode = c.mode;
        settings.setListMaxText(c.listMax);
        History history(settings);
        FakeClipboard clipboard(history);
        for (int i = 0; i < 12; ++i)
            clipboard.copyElsewhere(std::to_string(i));
        std::vector<std::string> kept = c.mode == L ? listTexts(history) : slotTexts(history);
        kept.erase(std::remove(kept.begin(), kept.end(), ""), kept.end());
        EXPECT_EQ(kept, c.kept);
    }
}

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

} // namespace
} // namespace kobako

#include "core/history.h"
#include "fake_clipboard.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kobako {
namespace {

using Texts = std::vector<std::string>;

// The texts of the list's entries or of every slot.
template <typename Entries> Texts textsOf(const Entries &entries) {
    Texts texts;
    for (const auto &entry : entries)
        texts.push_back(entry.text);
    return texts;
}

class ListCapture : public ::testing::Test, protected testing::HistoryParts {};

// A text whose owner was slow to hand it over goes below the copies made after it, in both
// displays; a late text repeating the copy just before or after it in time is not stored again,
// and the repeat rule keeps comparing with the newest copy.
struct LateCase {
    const char *name;
    bool listMode;
    std::vector<std::pair<const char *, int>> copies; // text and time made, as they arrive
    Texts expected;
    friend void PrintTo(const LateCase &late, std::ostream *out) { *out << late.name; }
};

class LateCapture : public ::testing::TestWithParam<LateCase> {};

TEST_P(LateCapture, PlacesATextByWhenItWasMade) {
    const LateCase &late = GetParam();
    Settings settings;
    settings.displayMode = late.listMode ? DisplayMode::List : DisplayMode::TextBoxes;
    settings.setListMaxText("3");
    History history(settings);
    for (const auto &[text, at] : late.copies)
        history.capture(std::string(text), ClipboardOrigin::Elsewhere,
                        Moment(std::chrono::milliseconds(at)));
    Texts texts = late.listMode ? textsOf(history.list()) : textsOf(history.textSlots());
    texts.erase(std::remove(texts.begin(), texts.end(), ""), texts.end());
    EXPECT_EQ(texts, late.expected);
}

const LateCase kLateCases[] = {
    {"ListBelowNewer", true, {{"a", 1}, {"fast", 3}, {"slow", 2}}, {"fast", "slow", "a"}},
    {"SlotsBelowNewer", false, {{"a", 1}, {"fast", 3}, {"slow", 2}}, {"fast", "slow", "a"}},
    {"NewestRepeated", true, {{"fast", 3}, {"slow", 2}, {"fast", 4}}, {"fast", "slow"}},
    {"NeighbourRepeated", false, {{"a", 1}, {"b", 3}, {"a", 2}, {"b", 2}}, {"b", "a"}},
    {"OlderThanAFullList", true, {{"a", 2}, {"b", 3}, {"c", 4}, {"old", 1}}, {"c", "b", "a"}},
    {"FullListLosesOldest", true, {{"a", 1}, {"b", 3}, {"c", 4}, {"late", 2}}, {"c", "b", "late"}},
};
INSTANTIATE_TEST_SUITE_P(Cases, LateCapture, ::testing::ValuesIn(kLateCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ListCapture, AFullListDropsTheEntryAtTheMaximumAndSelectsOnlyTheNewest) {
    for (auto text : {"1", "2", "3", "4", "5"})
        clipboard.copyElsewhere(text);
    history.toggleListItem(2);
    clipboard.copyElsewhere("6");
    EXPECT_EQ(textsOf(history.list()), (Texts{"6", "5", "4", "3", "2"}));
    for (size_t i = 0; i < history.list().size(); ++i)
        EXPECT_EQ(history.list()[i].selected, i == 0);
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
}

class SlotCapture : public ::testing::Test, protected testing::HistoryParts {
  protected:
    SlotCapture() { settings.displayMode = DisplayMode::TextBoxes; }
};

TEST_F(SlotCapture, FullSlotsShiftDownAndOnlyTheNewestIsMarked) {
    settings.setListMaxText("3");
    history.load({"three", "two", "one", "", "", "hidden"});
    for (int slot : {1, 2, 5})
        history.toggleSlotMark(slot);
    clipboard.copyElsewhere("four");
    EXPECT_EQ(textsOf(history.textSlots()),
              (Texts{"four", "three", "two", "", "", "hidden", "", "", "", ""}));
    const bool marked[] = {true, false, false, false, false, true}; // slot 5: beyond the maximum
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(history.textSlots()[i].marked, marked[i]) << i;
}

// A slot emptied by typing breaks the run of filled slots: it is not saved, a copy closes the
// run up instead of writing over a text, and a repeat, which changes nothing, leaves the hole
// where the window shows it.
TEST_F(SlotCapture, AnEmptiedSlotIsClosedUpByACopyAndLeftAloneByARepeat) {
    for (auto text : {"c", "b", "a"})
        clipboard.copyElsewhere(text);
    history.editSlot(1, ""); // the user erased "b"
    EXPECT_EQ(history.textsToSave(), (std::vector<SharedText>{"a", "c"}));
    EXPECT_EQ(clipboard.copyElsewhere("a"), CaptureOutcome::Ignored);
    EXPECT_EQ(textsOf(history.textSlots())[1], "");
    clipboard.copyElsewhere("new");
    EXPECT_EQ(textsOf(history.textSlots()), (Texts{"new", "a", "c", "", "", "", "", "", "", ""}));
}

} // namespace
} // namespace kobako

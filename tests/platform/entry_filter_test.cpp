#include "core/entry_filter.h"
#include "platform/text_folding.h"

#include <gtest/gtest.h>

namespace kobako {
namespace {

std::vector<ListEntry> listOf(const std::vector<std::string> &texts) {
    std::vector<ListEntry> list;
    for (const std::string &text : texts)
        list.push_back({text});
    return list;
}

std::vector<int> found(std::string_view typed, const std::vector<std::string> &texts) {
    EntryFilter filter(platform::foldCaseAndWidth);
    return filter.find(typed, listOf(texts), 0);
}

TEST(EntryFilter, AnEntryHoldingEveryWordIsFoundWhateverItsCaseAndWidth) {
    const std::vector<std::string> texts = {
        "Kobako は小箱", "ＡＢＣ full width", "ｶﾀｶﾅ half", "カタカナ full", "abc",
        "Привет",        "か\u3099き ＡＢ"};
    struct Case {
        const char *typed;
        std::vector<int> rows;
    };
    for (const auto &[typed, rows] : {
             Case{"", {0, 1, 2, 3, 4, 5, 6}},
             Case{"   ", {0, 1, 2, 3, 4, 5, 6}},
             Case{"KOBAKO", {0}},
             Case{"小箱 kobako", {0}}, // the words in any order
             Case{"kobako 大箱", {}},  // every word, not any
             Case{"abc", {1, 4}},      // ＡＢＣ folds to abc
             Case{"ａｂｃ", {1, 4}},   // and so does what is typed
             Case{"カタカナ", {2, 3}}, // half-width kana fold to full width
             Case{"ｶﾀ", {2, 3}},
             Case{"ПРИВЕТ", {5}},  // not only ASCII letters have a case
             Case{"がき ab", {6}}, // a combining mark composes with the kana before it
             Case{"abcdefghijklmnopqrstuvwxyz0123456789", {}},
         })
        EXPECT_EQ(found(typed, texts), rows) << typed;
}

TEST(EntryFilter, OnlyAnEntrysFirst64KBAreLookedAt) {
    const std::string before(EntryFilter::kLookedAt - 20, 'x');
    const std::string after(EntryFilter::kLookedAt + 20, 'x');
    const std::vector<std::string> texts = {before + "needle", after + "needle",
                                            before + "ＮＥＥＤＬＥ", after + "ＮＥＥＤＬＥ",
                                            before + "ねずみ"};
    EXPECT_EQ(found("needle", texts), (std::vector<int>{0, 2}));
    // A character across the end is not cut in two: the kana before it are still found.
    EXPECT_EQ(found("ねず", texts), (std::vector<int>{4}));
}

TEST(EntryFilter, AWordThatGrowsNarrowsAndOneThatShrinksLooksAgain) {
    std::vector<ListEntry> texts = listOf({"apple pie", "apricot", "banana"});
    EntryFilter filter(platform::foldCaseAndWidth);
    EXPECT_EQ(filter.find("ap", texts, 1), (std::vector<int>{0, 1}));
    EXPECT_EQ(filter.find("app", texts, 1), (std::vector<int>{0}));
    EXPECT_EQ(filter.find("a", texts, 1), (std::vector<int>{0, 1, 2}));
    // A change of the history is looked at whole, even for a grown word.
    texts.insert(texts.begin(), {"applause"});
    EXPECT_EQ(filter.find("app", texts, 2), (std::vector<int>{0, 1}));
}

} // namespace
} // namespace kobako

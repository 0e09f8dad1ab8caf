#include "core/clipboard_offer.h"

#include <gtest/gtest.h>

namespace kobako {
namespace {

using namespace std::string_literals;

// When a copied text may be kept: the mark known absent, or read and not exactly "secret". A
// refusal is an answer; an owner that answers anything may answer the mark with the text itself.
TEST(SecretMark, ATextIsKeptOnlyWhenTheMarkIsKnownAbsentOrReadAndNotSecret) {
    using enum MarkEvidence::Answer;
    using enum MarkVerdict;
    struct Case {
        std::optional<bool> listed; // whether the list of types names the mark, when known
        MarkEvidence::Answer answer;
        const char *value;
        bool listOverdue;
        MarkVerdict verdict;
    };
    const std::optional<bool> unknown;
    // clang-format off
    const Case cases[] = {
        Case{true, Read, "secret", false, Secret}, Case{true, Read, "public", false, Public},
        Case{unknown, Read, "secret", false, Secret}, Case{false, Read, "text", false, Public},
        Case{false, Read, "Secret", false, Public}, Case{true, Refused, "", false, Secret},
        Case{false, Refused, "", false, Public}, Case{unknown, Refused, "", false, Undecided},
        Case{unknown, Refused, "", true, Public}, Case{true, Lost, "", true, Secret},
        Case{false, Lost, "", true, Secret}, Case{unknown, Pending, "", true, Undecided},
        Case{true, Pending, "", false, Undecided}, Case{false, Pending, "", false, Public}};
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message() << "case " << &c - cases);
        EXPECT_EQ(judgeMark({c.listed, c.answer, c.value}, c.listOverdue), c.verdict);
    }
}

// Windows programs keep a copy out of histories by formats beside the text: any exclusion wins;
// a permission allows with any bit set and is read only when whole.
TEST(WindowsMarks, AnyExclusionOrAZeroPermissionKeepsTheCopyOut) {
    struct Case {
        bool exclude, viewerIgnore;
        std::optional<std::string> permission;
        bool keptOut;
    };
    // clang-format off
    const Case cases[] = {
        Case{false, false, std::nullopt, false}, Case{true, false, std::nullopt, true},
        Case{false, true, std::nullopt, true}, Case{false, false, "\0\0\0\0"s, true},
        Case{false, false, "\1\0\0\0"s, false}, Case{false, false, "\0\0\0\1"s, false},
        Case{false, false, "\0\0"s, true}, Case{false, false, ""s, true},
        Case{true, false, "\1\0\0\0"s, true}};
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message() << "case " << &c - cases);
        EXPECT_EQ(keptOutOfHistories({c.exclude, c.viewerIgnore, c.permission}), c.keptOut);
    }
}

} // namespace
} // namespace kobako

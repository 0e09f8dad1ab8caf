#include "core/clipboard_offer.h"

#include <gtest/gtest.h>

namespace kobako {
namespace {

// When a copied text may be kept: the mark known absent, or read and not exactly "secret".
TEST(SecretMark, ATextIsKeptOnlyWhenTheMarkIsKnownAbsentOrReadAndNotSecret) {
    using Answer = MarkEvidence::Answer;
    struct Case {
        std::optional<bool> listed;
        Answer answer;
        const char *value;
        bool listOverdue;
        MarkVerdict verdict;
    };
    const Case cases[] = {
        {true, Answer::Read, "secret", false, MarkVerdict::Secret},
        {true, Answer::Read, "public", false, MarkVerdict::Public},
        {std::nullopt, Answer::Read, "secret", false, MarkVerdict::Secret},
        {false, Answer::Read, "the copied text", false, MarkVerdict::Public}, // answers anything
        {false, Answer::Read, "Secret", false, MarkVerdict::Public},          // exactly "secret"
        {true, Answer::Refused, "", false, MarkVerdict::Secret},  // offered but not sent
        {false, Answer::Refused, "", false, MarkVerdict::Public}, // a refusal is an answer
        {std::nullopt, Answer::Refused, "", false, MarkVerdict::Undecided}, // the list may say
        {std::nullopt, Answer::Refused, "", true, MarkVerdict::Public},     // it never did
        {true, Answer::Lost, "", true, MarkVerdict::Secret},
        {false, Answer::Lost, "", true, MarkVerdict::Secret}, // never answered: not known
        {std::nullopt, Answer::Pending, "", true, MarkVerdict::Undecided},
        {true, Answer::Pending, "", false, MarkVerdict::Undecided},
        {false, Answer::Pending, "", false, MarkVerdict::Public}, // not offered, so not asked
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "listed " << (c.listed ? int(*c.listed) : -1) << ", answer "
                     << int(c.answer) << " \"" << c.value << "\", overdue " << c.listOverdue);
        EXPECT_EQ(judgeMark({c.listed, c.answer, c.value}, c.listOverdue), c.verdict);
    }
}

// Windows programs keep a copy out of histories by formats beside the text.
TEST(WindowsMarks, AnyExclusionOrAZeroPermissionKeepsTheCopyOut) {
    using namespace std::string_literals;
    struct Case {
        bool exclude;
        bool viewerIgnore;
        std::optional<std::string> permission;
        bool keptOut;
    };
    const Case cases[] = {
        {false, false, std::nullopt, false},
        {true, false, std::nullopt, true},
        {false, true, std::nullopt, true},
        {false, false, "\0\0\0\0"s, true},
        {false, false, "\1\0\0\0"s, false},
        {false, false, "\0\0\0\1"s, false}, // any bit allows it
        {false, false, "\0\0"s, true},      // too short to be read
        {false, false, ""s, true},
        {true, false, "\1\0\0\0"s, true}, // the exclusion wins over the permission
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message() << c.exclude << c.viewerIgnore << " permission of "
                                          << (c.permission ? int(c.permission->size()) : -1));
        EXPECT_EQ(keptOutOfHistories({c.exclude, c.viewerIgnore, c.permission}), c.keptOut);
    }
}

} // namespace
} // namespace kobako

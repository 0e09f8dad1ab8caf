#include "ui/text_display.h"

#include <gtest/gtest.h>

namespace kobako {
namespace {

// An edit changes only what was edited: the rest keeps its no-break spaces, its line and
// paragraph separators and its kind of line break; a typed line break is the stored text's kind.
TEST(TextDisplay, AnEditChangesOnlyTheEditedStretch) {
    const struct {
        std::string stored;
        QString typedAfter; // of what the slot shows
        std::string expected;
    } edits[] = {
        {"a\r\nb", "X", "a\r\nbX"},
        {"a\nb", "\u2029c", "a\nb\nc"},
        {"a\r\nb", "\u2029c", "a\r\nb\r\nc"},
        {"a\u00A0b\u2028c\rd\u2029e 😀", "!", "a\u00A0b\u2028c\rd\u2029e 😀!"},
    };
    for (const auto &edit : edits) {
        const QString shown = ui::slotDisplayText(edit.stored);
        EXPECT_EQ(ui::slotTextFromEdit(shown, shown + edit.typedAfter, edit.stored), edit.expected)
            << edit.stored;
    }
    EXPECT_EQ(ui::slotDisplayText("a\r\nb\rc\nd"), "a\u2029b\u2029c\u2029d");
    // A character replaced in the middle, after a character beyond U+FFFF.
    EXPECT_EQ(ui::slotTextFromEdit(ui::slotDisplayText("😀ab\r\nc"), QString::fromUtf8("😀aX\u2029c"),
                                   "😀ab\r\nc"),
              "😀aX\r\nc");
}

// A text of megabytes would take the text box seconds to lay out: it is shown cut at a line end.
TEST(TextDisplay, ASlotShowsAVeryLongTextCutAfterAWholeLine) {
    std::string lines;
    while (lines.size() < 1024 * 1024)
        lines += "日本語のテキスト\r\n";
    const QString shown = ui::slotDisplayText(lines);
    EXPECT_FALSE(ui::isShownWhole(lines));
    EXPECT_LT(shown.size(), 128 * 1024);
    EXPECT_TRUE(shown.endsWith(QString::fromUtf8("テキスト\u2029…")));
    const std::string oneLine(1024 * 1024, 'x');
    EXPECT_EQ(ui::slotDisplayText(oneLine).size(), 128 * 1024 + 1); // cut anywhere, marked
    EXPECT_TRUE(ui::isShownWhole(std::string(128 * 1024, 'x')));
}

} // namespace
} // namespace kobako

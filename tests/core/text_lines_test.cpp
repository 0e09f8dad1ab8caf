#include "core/text_lines.h"

#include <gtest/gtest.h>

namespace kobako {
namespace {

std::vector<std::string> linesOf(std::string_view text) {
    std::vector<std::string> lines;
    LineReader reader(text);
    std::string_view line;
    while (reader.next(line))
        lines.emplace_back(line);
    return lines;
}

TEST(LineReader, CrLfAndLoneCrEndALineLoneLfDoesNot) {
    EXPECT_EQ(linesOf("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c\nd"}));
    EXPECT_EQ(linesOf("a\r\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(linesOf("\r\n\r\n"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(linesOf(""), (std::vector<std::string>{}));
    EXPECT_EQ(linesOf(std::string("x\0y\r", 4)),
              (std::vector<std::string>{std::string("x\0y", 3)}));
}

TEST(FileText, RecordsAndLinesDecodeOneByOne) {
    // A truncated double-byte character at the end is marked, not dropped silently.
    EXPECT_EQ(decodeRecord("a\x93"), "a\xEF\xBF\xBD");
    // Overlong forms and surrogates are not UTF-8.
    EXPECT_NE(decodeRecord("\xC0\xAF"), "\xC0\xAF");
    EXPECT_NE(decodeRecord("\xED\xA0\x80"), "\xED\xA0\x80");
    // A stray byte in a UTF-8 text does not make it CP932.
    EXPECT_EQ(decodeRecord("日本語\xFF"), "日本語\xEF\xBF\xBD");
    // A settings file with a font name in CP932 beside UTF-8 lines.
    EXPECT_EQ(decodeLines("1\r\n\x93\xfa\x96\x7b\x8c\xea\rＭＳ\r\nlast"),
              "1\r\n日本語\r\nＭＳ\r\nlast\r\n");
}

TEST(FileText, OfferedUtf8IsRepairedByteByByte) {
    const struct {
        std::string offered, kept;
    } cases[] = {
        {"abc\xE9"
         "def",
         "abc\xEF\xBF\xBD"
         "def"},
        {"日本語", "日本語"},
        {"\xE6\x97", "\xEF\xBF\xBD\xEF\xBF\xBD"},                 // a character cut short
        {"\xC0\xAF!", "\xEF\xBF\xBD\xEF\xBF\xBD!"},               // overlong
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}, // a surrogate
        {std::string("a\0b", 3), std::string("a\0b", 3)},
        {std::string(20, 'x') + "\xFF" + std::string(20, 'y'),
         std::string(20, 'x') + "\xEF\xBF\xBD" + std::string(20, 'y')},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(toValidUtf8(c.offered), c.kept);
        EXPECT_TRUE(isValidUtf8(toValidUtf8(c.offered)));
    }
}

} // namespace
} // namespace kobako

#include "core/text_lines.h"

#include <gtest/gtest.h>

namespace kobako {
namespace {

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
    const std::string bad = "\xEF\xBF\xBD", x(20, 'x'), y(20, 'y');
    // A character cut short, an overlong form, a surrogate; NUL is kept.
    const std::pair<std::string, std::string> cases[] = {
        {"abc\xE9"
         "def",
         "abc" + bad + "def"},
        {"日本語", "日本語"},
        {"\xE6\x97", bad + bad},
        {"\xC0\xAF!", bad + bad + "!"},
        {"\xED\xA0\x80", bad + bad + bad},
        {std::string("a\0b", 3), std::string("a\0b", 3)},
        {x + "\xFF" + y, x + bad + y}};
    for (const auto &[offered, kept] : cases) {
        EXPECT_EQ(toValidUtf8(offered), kept);
        EXPECT_TRUE(isValidUtf8(kept));
    }
}

} // namespace
} // namespace kobako

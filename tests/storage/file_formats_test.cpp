#include "storage/history_file.h"
#include "storage/settings_file.h"
#include "storage/size_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace kobako::storage {
namespace {

std::string dataFile(const std::string &name) {
    std::ifstream in(std::string(KOBAKO_TEST_DATA) + "/" + name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(SizeFile, ReadsWhatItCanAndDefaultsTheRest) {
    struct Case {
        std::optional<std::string_view> file;
        float height, width;
    };
    for (auto c : {Case{std::nullopt, 3540, 3140}, Case{" 900 \r\n 600 \r\n", 900, 600},
                   Case{"900\r\n150\r\n", 900, 3140}, Case{"900", 900, 3140},
                   Case{"abc\r\n600\r\n", 3540, 3140}, Case{"200\r\n199.9\r\n", 200, 3140},
                   Case{"-500\r\n1e3\r\n", 3540, 1000}, Case{"", 3540, 3140},
                   Case{"1e999\r\n600\r\n", 3540, 3140}, Case{"\x01\xff\r\n", 3540, 3140}}) {
        SCOPED_TRACE(c.file.value_or("<no file>"));
        const SavedSize size = readSizeFile(c.file);
        EXPECT_FLOAT_EQ(size.savedHeight, c.height);
        EXPECT_FLOAT_EQ(size.savedWidth, c.width);
    }
}

TEST(SizeFile, WritesHeightThenWidthInPrintForm) {
    EXPECT_EQ(writeSizeFile(3540, 3140), " 3540 \r\n 3140 \r\n");
    const SavedSize back = readSizeFile(writeSizeFile(4125.5f, 2805));
    EXPECT_FLOAT_EQ(back.savedHeight, 4125.5f);
    EXPECT_FLOAT_EQ(back.savedWidth, 2805);
}

std::string saveRecords(const std::vector<std::string> &records) {
    return writeHistoryText(records.size(),
                            [&](size_t i) -> const std::string & { return records[i]; });
}

// Whatever a text holds, it comes back as it was: line ends of every kind, the marker line
// itself (a web page can put it on the clipboard), and the escape's own characters.
TEST(HistoryFile, RoundTripKeepsEveryTextByteForByte) {
    // clang-format off
    std::vector<std::string> records = {
        "abc", "x\r\ny", "", "日本語\r\nテキスト", "tab\tand\nlone lf", "lone\rcr", "cr at the end\r",
        "\r", "\r\r\n\n\r", "before\r\nText Start Point\r\nafter", "Text Start Point",
        "Text Start Point%", "Text Start Point%\r\nText Start Points", "100%25 and %0D and %54",
        "lf then marker\nText Start Point", "ends with a break\r\n"};
    // clang-format on
    records.push_back(std::string(2 * 1024 * 1024, 'm'));
    EXPECT_EQ(readHistoryRecords(saveRecords(records), SIZE_MAX), records);
    for (const std::string &text : records)
        EXPECT_EQ(readHistoryRecords(saveRecords({text}), SIZE_MAX), std::vector<std::string>{text})
            << text;
}

// Texts the original program can hold are written as it writes them; the others escaped, in a
// record that the original still takes for one record.
TEST(HistoryFile, FormatOfPlainAndEscapedRecords) {
    EXPECT_EQ(saveRecords({"abc", "x\r\ny"}),
              "abc\r\nText Start Point\r\nx\r\ny\r\nText Start Point\r\n");
    EXPECT_EQ(saveRecords({}), "");
    EXPECT_EQ(saveRecords({""}), "\r\nText Start Point\r\n");
    EXPECT_EQ(saveRecords({"50% off", "lf\nText Start Point"}),
              "50% off\r\nText Start Point\r\nlf\nText Start Point\r\nText Start Point\r\n");
    EXPECT_EQ(saveRecords({"a\rb", "x\r\nText Start Point 50%"}),
              "a%0Db\r\nText Start Point%\r\nx\r\n%54ext Start Point 50%25\r\n"
              "Text Start Point%\r\n");
}

TEST(HistoryFile, ReadingRules) {
    // Only a line that is exactly the marker ends a record: a text may begin a line with it.
    EXPECT_EQ(
        readHistoryRecords("Text Start Pointless\r\nText Start Point\r\n a\r\nText Start Point "
                           "\r\nb\r\nText Start Point\r\n",
                           100),
        (std::vector<std::string>{"Text Start Pointless", " a\r\nText Start Point \r\nb"}));
    // Lines after the last marker are dropped; a lone CR comes back as CR LF.
    EXPECT_EQ(readHistoryRecords("a\rb\r\nText Start Point\r\ntrailing", 100),
              (std::vector<std::string>{"a\r\nb"}));
    // The marker is case-sensitive.
    EXPECT_EQ(readHistoryRecords("text start point\r\nText Start Point", 100),
              (std::vector<std::string>{"text start point"}));
}

// The file arrives from the disk in pieces: wherever it is cut, the records are the same.
TEST(HistoryFile, PiecesCutAnywhereReadAsTheWholeFile) {
    const std::vector<std::string> files = {
        "a\r\nText Start Point\r\nx\r\ny\r\nText Start Point\r\n",
        "lone\rcr\r\nText Start Point\r\ntrailing", "cr at the end\rText Start Point\r",
        "\r\n\r\nText Start Point\r\nlf\ninside\r\nText Start Point and more\r\n",
        "日本語\r\nテキスト\r\nText Start Point\r\n"};
    for (const std::string &file : files) {
        const auto whole = readHistoryRecords(file, SIZE_MAX);
        for (size_t first = 0; first <= file.size(); ++first) {
            for (size_t second = first; second <= file.size(); ++second) {
                HistoryFileReader reader;
                reader.add(std::string_view(file).substr(0, first));
                reader.add(std::string_view(file).substr(first, second - first));
                reader.add(std::string_view(file).substr(second));
                EXPECT_EQ(reader.finish(), whole) << file << " cut at " << first << ", " << second;
            }
        }
    }
}

// A file written by the Windows original reads converted, wherever the disk cuts it; a record
// in CP932 among UTF-8 ones changes neither them nor itself.
TEST(HistoryFile, EachRecordIsDecodedOnItsOwn) {
    const std::string cp932 = dataFile("cp932.f3");
    const std::vector<std::string> converted = {"日本語", "テスト\r\n二行目"};
    for (size_t cut = 0; cut <= cp932.size(); ++cut) {
        HistoryFileReader reader;
        reader.add(std::string_view(cp932).substr(0, cut));
        reader.add(std::string_view(cp932).substr(cut));
        EXPECT_EQ(reader.finish(), converted) << "cut at " << cut;
    }
    EXPECT_EQ(
        readHistoryRecords("日本語テキスト\r\nText Start Point\r\n\x93\xfa\x96\x7b\x8c\xea\r\n"
                           "Text Start Point\r\nabc\xEF\xBF\xBD"
                           "def\r\nText Start Point\r\n",
                           SIZE_MAX),
        (std::vector<std::string>{"日本語テキスト", "日本語",
                                  "abc\xEF\xBF\xBD"
                                  "def"}));
}

// Reading stops at the first line that fails; what was read shows in the file written back. The
// name=value lines after the five are read all the same, and those not known are kept.
TEST(SettingsFile, ReadingStopsAtTheFirstFailingLine) {
    struct Case {
        std::string file;
        const char *written; // null: the file itself
        int listSpin, iconSpin;
    };
    const char *const defaults = " 1 \r\n5\r\n18\r\n0\r\n1\r\n";
    // clang-format off
    for (const Case &c : {
        Case{" 0 \r\n8\r\n20\r\n0\r\n3\r\n", nullptr, 8, 20},
        Case{"1\r\n8\r\n20\r\n0\r\n3\r\n", " 1 \r\n8\r\n20\r\n0\r\n3\r\n", 8, 20},
        Case{" 0 \r\n 7 \r\n6.5\r\n1\r\n6\r\n", " 0 \r\n7\r\n6\r\n1\r\n6\r\n", 7, 10},
        Case{" 0 \r\n8\r\n20\r\n1\r\n", " 0 \r\n8\r\n20\r\n1\r\n1\r\n", 1, 10}, // ends early
        Case{" 0 \r\nabc\r\n20\r\n1\r\n0\r\n", " 0 \r\n5\r\n18\r\n0\r\n1\r\n", 1, 10},
        Case{" 0 \r\n60\r\n20\r\n0\r\n2\r\n", nullptr, 1, 10},
        Case{" 1 \r\n20\r\n18\r\n1\r\n0\r\n", " 1 \r\n10\r\n18\r\n1\r\n0\r\n", 10, 18},
        Case{" 3 \r\n8\r\n20\r\n0\r\n3\r\n", defaults, 1, 10},
        Case{" 0 \r\n8\r\n20\r\n2\r\n3\r\n", " 0 \r\n8\r\n20\r\n0\r\n1\r\n", 1, 10},
        Case{" 0 \r\n8\r\n20\r\n1\r\n7\r\n", " 0 \r\n8\r\n20\r\n1\r\n1\r\n", 1, 10},
        Case{" 0 \r\n8\r\n40\r\n0\r\n0\r\n", nullptr, 8, 10},
        Case{" 0 \r\n8\r\n32767\r\n0\r\n0\r\n", " 0 \r\n8\r\n60\r\n0\r\n0\r\n", 8, 10},
        Case{" 0 \r\n40000\r\n20\r\n0\r\n0\r\n", " 0 \r\n5\r\n18\r\n0\r\n1\r\n", 1, 10},
        Case{"", defaults, 1, 10}, Case{std::string("\0\xff\xfe\r\n", 5), defaults, 1, 10},
        Case{" 0 \r\n8\r\n20\r\n0\r\n3\r\npaste-after-pick=1\r\nlater=2\r\n\r\n", nullptr, 8, 20},
        Case{"3\r\n\r\n\r\n\r\n\r\nlater=2\r\npaste-after-pick=0\r\n", " 1 \r\n5\r\n18\r\n0\r\n1\r\nlater=2\r\n", 1, 10}}) {
        // clang-format on
        Settings settings;
        readSettingsFile(c.file, settings);
        EXPECT_EQ(writeSettingsFile(settings), c.written ? c.written : c.file) << c.file;
        EXPECT_EQ(settings.listSpin(), c.listSpin) << c.file;
        EXPECT_EQ(settings.iconSpin(), c.iconSpin) << c.file;
    }
}

TEST(SettingsFile, WritesTheFiveLines) {
    Settings settings;
    EXPECT_EQ(writeSettingsFile(settings), " 1 \r\n5\r\n18\r\n0\r\n1\r\n");
    settings.alwaysOnTop = CheckState::Unchecked;
    settings.setListMaxText(" 8");
    settings.displayMode = DisplayMode::TextBoxes;
    settings.appearPosition = AppearPosition::Unspecified;
    EXPECT_EQ(writeSettingsFile(settings), " 0 \r\n 8\r\n18\r\n1\r\n6\r\n");
    Settings back;
    readSettingsFile(writeSettingsFile(settings), back);
    EXPECT_EQ(back.listMaxText(), "8");
    EXPECT_EQ(back.appearPosition, AppearPosition::Unspecified);
}

// Found by fuzzing: the position line is no number, so reading stops before the list spin, and
// text-box mode is left with a list maximum of 20. Every reader then takes it as ten.
TEST(SettingsFile, TextBoxModeWithAMaximumAboveTenFromAnEarlyStop) {
    Settings settings;
    readSettingsFile(dataFile("fuzz/settings-stops-before-spin-in-text-box-mode.f2"), settings);
    EXPECT_EQ(settings.displayMode, DisplayMode::TextBoxes);
    EXPECT_EQ(settings.listMaxText(), "20");
    EXPECT_EQ(settings.appearPosition, AppearPosition::MiddleRight);
    EXPECT_EQ(usableSlotCount(settings), 10);
    Settings rewritten;
    readSettingsFile(writeSettingsFile(settings), rewritten);
    EXPECT_EQ(rewritten.listMaxText(), "10");
}

} // namespace
} // namespace kobako::storage

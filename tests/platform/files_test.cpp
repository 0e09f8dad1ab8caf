#include "platform/files.h"
#include "platform/process.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace kobako {
namespace {

namespace fs = std::filesystem;

class Files : public ::testing::Test {
  protected:
    Files() : directory_(fs::temp_directory_path() / ("kobako-files-" + std::to_string(getpid()))) {
        fs::create_directories(directory_);
    }
    ~Files() override { fs::remove_all(directory_); }
    std::string path(const char *name) const { return (directory_ / name).string(); }

    fs::path directory_;
};

TEST_F(Files, AtomicWriteReplacesTheFileWholeAndSetsItsAccess) {
    { std::ofstream(path("a.f3")) << "old contents"; }
    const std::string bytes("new\0bytes\r\n", 11);
    EXPECT_FALSE(platform::writeFileAtomically(path("a.f3"), bytes));
    EXPECT_EQ(*platform::readWholeFile(path("a.f3")), bytes);
    struct stat info {};
    ASSERT_EQ(stat(path("a.f3").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(std::distance(fs::directory_iterator(directory_), fs::directory_iterator()), 1);
}

// Replacing another user's file would make it the saver's: refused, and the file left whole.
TEST_F(Files, AnotherUsersFileIsNeverReplaced) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to give a file to another user";
    { std::ofstream(path("theirs.f3")) << "theirs"; }
    ASSERT_EQ(chown(path("theirs.f3").c_str(), 65534, 65534), 0);
    EXPECT_TRUE(platform::writeFileAtomically(path("theirs.f3"), "mine"));
    EXPECT_EQ(*platform::readWholeFile(path("theirs.f3")), "theirs");
    struct stat info {};
    ASSERT_EQ(stat(path("theirs.f3").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(std::distance(fs::directory_iterator(directory_), fs::directory_iterator()), 1);
}

TEST_F(Files, AFailedWriteGivesTheReasonAndLeavesNothingBehind) {
    fs::create_directory(directory_ / "taken.f1");
    auto reason = platform::writeFileAtomically(path("taken.f1"), "x");
    ASSERT_TRUE(reason);
    EXPECT_FALSE(reason->empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(directory_), fs::directory_iterator()), 1);
    EXPECT_TRUE(platform::writeFileAtomically(path("missing/dir.f1"), "x"));
}

TEST_F(Files, OnlyOrdinaryFilesAreRead) {
    EXPECT_FALSE(platform::readWholeFile(path("none")));
    EXPECT_FALSE(platform::readWholeFile(directory_.string()));
    { std::ofstream(path("empty")); }
    EXPECT_EQ(*platform::readWholeFile(path("empty")), "");
}

TEST_F(Files, APieceByPieceReadGivesEveryByteInOrder) {
    std::string bytes;
    for (int i = 0; bytes.size() < 300 * 1024; ++i)
        bytes += std::to_string(i) + (i % 7 ? "\r\n" : std::string(1, '\0'));
    { std::ofstream(path("big"), std::ios::binary) << bytes; }
    std::string read;
    size_t pieces = 0;
    EXPECT_EQ(platform::readFileInPieces(path("big"),
                                         [&](std::string_view piece) {
                                             read += piece;
                                             ++pieces;
                                         })
                  .kind,
              platform::ReadOutcome::Read);
    EXPECT_EQ(read, bytes);
    EXPECT_GT(pieces, 1u);

    const auto none = [](std::string_view) { FAIL() << "nothing should be read"; };
    using Kind = platform::ReadOutcome::Kind;
    EXPECT_EQ(platform::readFileInPieces(path("missing"), none).kind, Kind::Missing);
    EXPECT_EQ(platform::readFileInPieces(directory_.string(), none).kind, Kind::Missing);
    { std::ofstream(path("empty")); }
    EXPECT_EQ(platform::readFileInPieces(path("empty"), none).kind, Kind::Read);
}

TEST_F(Files, ADirectoryIsLockedByOneHolderAtATime) {
    auto first = std::make_unique<platform::DirectoryLock>(directory_.string());
    EXPECT_TRUE(first->held());
    platform::DirectoryLock second(directory_.string());
    EXPECT_FALSE(second.held());
    first.reset();
    platform::DirectoryLock third(directory_.string());
    EXPECT_TRUE(third.held());
    EXPECT_EQ(std::distance(fs::directory_iterator(directory_), fs::directory_iterator()), 0);
    // The lock lies where only the user can write; another directory has a lock of its own.
    struct stat info {};
    ASSERT_EQ(lstat(third.path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(info.st_uid, getuid());
    platform::DirectoryLock other((directory_ / "..").string());
    EXPECT_TRUE(other.held());
}

TEST_F(Files, TemporariesLeftByAKilledWriteAreRemovedAndNothingElse) {
    for (const char *name : {".kobako.f3.a1B2c3.tmp", ".kobako.f1.zzzzzz.tmp", "kobako.f3",
                             ".kobako.f3.toolong.tmp", "kobako.f3.a1B2c3", ".other.f3.a1B2c3.tmp"})
        std::ofstream(path(name)) << "x";
    fs::create_directory(path(".kobako.f2.dirdir.tmp"));
    platform::removeStaleTemporaries(directory_.string(), {"kobako.f1", "kobako.f2", "kobako.f3"});
    std::vector<std::string> left;
    for (const auto &entry : fs::directory_iterator(directory_))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left,
              (std::vector<std::string>{".kobako.f2.dirdir.tmp", ".kobako.f3.toolong.tmp",
                                        ".other.f3.a1B2c3.tmp", "kobako.f3", "kobako.f3.a1B2c3"}));
}

} // namespace
} // namespace kobako

#include "storage/directory_lock.h"
#include "storage/files.h"
#include "storage/history_file.h"
#include "storage/settings_file.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>

namespace kobako::storage {
namespace {

namespace fs = std::filesystem;

fs::path madeDirectory() {
    std::random_device random;
    while (true) {
        const fs::path made =
            fs::temp_directory_path() / ("kobako-test-" + std::to_string(random()));
        if (fs::create_directory(made))
            return made;
    }
}

class Files : public ::testing::Test {
  protected:
    ~Files() override { fs::remove_all(directory_); }
    std::string path(const char *name) const { return (directory_ / name).string(); }
    std::vector<std::string> left() const {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(directory_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path directory_ = madeDirectory();
};

TEST_F(Files, AtomicWriteReplacesTheFileWholeAndSetsItsAccess) {
    { std::ofstream(path("a.f3")) << "old contents"; }
    const std::string bytes("new\0bytes\r\n", 11);
    EXPECT_TRUE(writeFileAtomically(path("a.f3"), bytes).written());
    EXPECT_EQ(*readWholeFile(path("a.f3")), bytes);
#ifndef _WIN32
    struct stat info {};
    ASSERT_EQ(stat(path("a.f3").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
#endif
    EXPECT_EQ(left(), std::vector<std::string>{"a.f3"});
}

#ifndef _WIN32

// Replacing another user's file would make it the saver's: refused, and the file left whole.
TEST_F(Files, AnotherUsersFileIsNeverReplaced) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to give a file to another user";
    { std::ofstream(path("theirs.f3")) << "theirs"; }
    ASSERT_EQ(chown(path("theirs.f3").c_str(), 65534, 65534), 0);
    EXPECT_FALSE(writeFileAtomically(path("theirs.f3"), "mine").written());
    EXPECT_EQ(*readWholeFile(path("theirs.f3")), "theirs");
    EXPECT_EQ(left(), std::vector<std::string>{"theirs.f3"});
}
#endif

TEST_F(Files, AFailedWriteNamesTheFileAndTheReasonAndLeavesNothingBehind) {
    fs::create_directory(directory_ / "kobako.f3");
    const WriteResult saved = HistoryFile({directory_.string(), path("kobako")}).save({"text"});
    ASSERT_FALSE(saved.written());
    EXPECT_EQ(saved.failure().file, path("kobako.f3"));
#ifdef _WIN32
    EXPECT_EQ(saved.failure().reason, systemReason(ERROR_ACCESS_DENIED));
#else
    EXPECT_EQ(saved.failure().reason, std::strerror(EISDIR));
#endif
    EXPECT_EQ(left(), std::vector<std::string>{"kobako.f3"});
    EXPECT_FALSE(writeFileAtomically(path("missing/dir.f1"), "x").written());
}

// Only a file that is there and cannot be read is unreadable: its history must survive the
// session. Nothing, or something that is no ordinary file (a FIFO would block the start), reads
// as no file.
TEST_F(Files, ReadsOrdinaryFilesInPiecesAndTellsMissingFromUnreadable) {
    std::string bytes;
    for (int i = 0; bytes.size() < 300 * 1024; ++i)
        bytes += std::to_string(i) + (i % 7 ? "\r\n" : std::string(1, '\0'));
    { std::ofstream(path("big"), std::ios::binary) << bytes; }
    std::string read;
    size_t pieces = 0;
    const auto take = [&](std::string_view piece) {
        read += piece;
        ++pieces;
    };
    EXPECT_EQ(readFileInPieces(path("big"), take).kind, ReadOutcome::Read);
    EXPECT_EQ(read, bytes);
    EXPECT_GT(pieces, 1u);

    const auto none = [](std::string_view) { FAIL() << "nothing should be read"; };
    for (const std::string &missing : {path("none"), directory_.string(), path("none/none")})
        EXPECT_EQ(readFileInPieces(missing, none).kind, ReadOutcome::Missing) << missing;
#ifndef _WIN32
    ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);
    EXPECT_EQ(readFileInPieces(path("fifo"), none).kind, ReadOutcome::Missing);
    // Reading a process's memory from its start fails with an I/O error, even for root.
    ASSERT_EQ(symlink("/proc/self/mem", path("mem").c_str()), 0);
    const ReadOutcome failed = readFileInPieces(path("mem"), none);
    EXPECT_EQ(failed.kind, ReadOutcome::Unreadable);
    EXPECT_EQ(failed.reason, std::strerror(EIO));
#endif
}

TEST_F(Files, ADirectoryIsLockedByOneHolderAtATime) {
    auto first = std::make_unique<DirectoryLock>(directory_.string());
    EXPECT_TRUE(first->held());
    DirectoryLock second(directory_.string());
    EXPECT_FALSE(second.held());
    first.reset();
    DirectoryLock third(directory_.string());
    EXPECT_TRUE(third.held());
    EXPECT_TRUE(left().empty());
#ifdef _WIN32
    // Windows compares paths without case.
    std::string upper = directory_.string();
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    EXPECT_FALSE(DirectoryLock(upper).held());
#else
    // The lock lies where only the user can write; another directory has a lock of its own.
    struct stat info {};
    ASSERT_EQ(lstat(third.path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(info.st_uid, getuid());
#endif
    DirectoryLock other((directory_ / "..").string());
    EXPECT_TRUE(other.held());
}

#ifndef _WIN32
// A lock place that another user made first, or that others may write in, is passed over.
TEST_F(Files, ALockPlaceOthersCouldTouchIsPassedOver) {
    std::map<std::string, std::string> saved;
    for (const char *name : {"XDG_RUNTIME_DIR", "TMPDIR"})
        if (const char *value = std::getenv(name))
            saved[name] = value;
    unsetenv("XDG_RUNTIME_DIR");
    setenv("TMPDIR", directory_.c_str(), 1);
    const fs::path taken = directory_ / ("kobako-" + std::to_string(geteuid()));
    fs::create_directory(taken);
    fs::permissions(taken, fs::perms::all);
    const DirectoryLock lock(path("data"));
    unsetenv("TMPDIR");
    for (const auto &[name, value] : saved)
        setenv(name.c_str(), value.c_str(), 1);
    EXPECT_TRUE(lock.held());
    EXPECT_EQ(fs::path(lock.path()).parent_path(), taken.string() + ".1");
    EXPECT_TRUE(fs::is_empty(taken));
}
#endif

TEST_F(Files, TemporariesLeftByAKilledWriteAreRemovedAndNothingElse) {
    for (const char *name : {".kobako.f3.a1B2c3.tmp", ".kobako.f1.zzzzzz.tmp", "kobako.f3",
                             ".kobako.f3.toolong.tmp", "kobako.f3.a1B2c3", ".other.f3.a1B2c3.tmp"})
        std::ofstream(path(name)) << "x";
    fs::create_directory(path(".kobako.f2.dirdir.tmp"));
    removeStaleTemporaries(directory_.string(), {"kobako.f1", "kobako.f2", "kobako.f3"});
    EXPECT_EQ(left(),
              (std::vector<std::string>{".kobako.f2.dirdir.tmp", ".kobako.f3.toolong.tmp",
                                        ".other.f3.a1B2c3.tmp", "kobako.f3", "kobako.f3.a1B2c3"}));
}

// The settings file lies in the directory the program started in.
TEST_F(Files, TheSettingsFileIsSavedAndReadInTheStartDirectory) {
    Settings settings, back;
    settings.setListMaxText("9");
    ASSERT_TRUE(SettingsFile({directory_.string(), "kobako"}).save(settings).written());
    SettingsFile({directory_.string(), "kobako"}).load(back);
    EXPECT_EQ(back.listMaxText(), "9");
    EXPECT_EQ(left(), std::vector<std::string>{"kobako.f2"});
}

} // namespace
} // namespace kobako::storage

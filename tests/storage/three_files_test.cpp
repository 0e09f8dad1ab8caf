#include "storage/three_files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace kobako {
namespace {

namespace fs = std::filesystem;

// A directory of its own, made current, and removed afterwards.
fs::path madeDirectory() {
    std::string pattern = (fs::temp_directory_path() / "kobako-test-XXXXXX").string();
    return mkdtemp(pattern.data());
}

class Persistence : public ::testing::Test {
  protected:
    Persistence() { fs::current_path(directory_); }
    ~Persistence() override {
        fs::current_path(previous_);
        fs::remove_all(directory_);
    }

    fs::path previous_ = fs::current_path();
    fs::path directory_ = madeDirectory();
    FileNames files{directory_.string(), "kobako"};
};

// Slot 1 emptied by editing leaves a hole: the file keeps both texts, closed up.
TEST_F(Persistence, FilledSlotsAboveAHoleAreSavedAndReadBackClosedUp) {
    Settings settings;
    settings.displayMode = DisplayMode::TextBoxes;
    History history(settings);
    history.textSlots[0].text = "first";
    history.textSlots[2].text = "third";
    ASSERT_FALSE(SlotFileSave(files, SlotFileTake(history, settings)));
    History back(settings);
    SlotFileLoad(SlotFileRead(files), back, settings);
    EXPECT_EQ(back.textSlots[0].text, "first");
    EXPECT_EQ(back.textSlots[1].text, "third");
}

// Only a file that is there and cannot be read is reported: its history must survive the
// session. Nothing, or something that is no ordinary file (a FIFO would block the start), is an
// empty history.
TEST_F(Persistence, AHistoryFileThatCannotBeReadIsToldFromAMissingOne) {
    EXPECT_FALSE(SlotFileRead(files).unreadable);
    ASSERT_EQ(mkfifo("kobako.f3", 0600), 0);
    const auto fromFifo = SlotFileRead(files);
    EXPECT_TRUE(fromFifo.records.empty());
    EXPECT_FALSE(fromFifo.unreadable);
    fs::remove("kobako.f3");
    // Reading a process's memory from its start fails with an I/O error, even for root.
    ASSERT_EQ(symlink("/proc/self/mem", "kobako.f3"), 0);
    const auto failed = SlotFileRead(files);
    ASSERT_TRUE(failed.unreadable);
    EXPECT_EQ(*failed.unreadable, std::strerror(EIO));
}

TEST_F(Persistence, SettingsFileIsFoundInTheStartDirectory) {
    Settings settings;
    settings.setListMaxText("9");
    ASSERT_FALSE(Form2Save(files, settings));
    const fs::path elsewhere = madeDirectory();
    fs::current_path(elsewhere);
    Settings back;
    Form2Load(files, back);
    EXPECT_EQ(back.listMaxText(), "9");
    fs::remove_all(elsewhere);
}

TEST_F(Persistence, AFailedWriteNamesTheFileAndKeepsTheOldOne) {
    { std::ofstream("kobako.f1") << "old"; }
    fs::create_directory("kobako.f3");
    Settings settings;
    History history(settings);
    auto failure = SlotFileSave(files, SlotFileTake(history, settings));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->file, "kobako.f3");
    EXPECT_FALSE(failure->reason.empty());
    EXPECT_TRUE(fs::is_directory("kobako.f3"));
    // No temporary file is left behind.
    const auto entries = std::distance(fs::directory_iterator("."), fs::directory_iterator());
    EXPECT_EQ(entries, 2);
}

} // namespace
} // namespace kobako

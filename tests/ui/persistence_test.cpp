#include "ui/persistence.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace kobako {
namespace {

class Persistence : public ::testing::Test {
  protected:
    Persistence() {
        previous_ = QDir::currentPath();
        QDir::setCurrent(directory_.path());
    }
    ~Persistence() override { QDir::setCurrent(previous_); }

    QTemporaryDir directory_;
    QString previous_;
    ui::FileNames files{directory_.path().toStdString(), "kobako"};
};

TEST(JoinPath, RootDirectoryGetsNoDoubleSlash) {
    EXPECT_EQ(ui::joinPath("/", "Hako.hlp"), "/Hako.hlp");
    EXPECT_EQ(ui::joinPath("/home/u", "Hako.hlp"), "/home/u/Hako.hlp");
}

TEST_F(Persistence, SlotFileRoundTripsInEachModeAndKeepsFilledSlotsAboveAHole) {
    Settings settings;
    History history(settings);
    history.list = {{"a\r\n", false}, {"b", true}, {"", false}};
    ASSERT_FALSE(ui::SlotFileSave(files, ui::SlotFileBytes(history, settings)));
    History back(settings);
    ui::SlotFileLoad(ui::SlotFileRead(files), back, settings);
    ASSERT_EQ(back.list.size(), 3u);
    EXPECT_EQ(back.list[0].text, "a\r\n");
    EXPECT_EQ(back.list[2].text, "");

    settings.displayMode = DisplayMode::TextBoxes;
    History slotHistory(settings);
    slotHistory.textSlots[0].text = "first";
    slotHistory.textSlots[2].text = "third"; // slot 1 was emptied by editing
    ASSERT_FALSE(ui::SlotFileSave(files, ui::SlotFileBytes(slotHistory, settings)));
    History slotsBack(settings);
    ui::SlotFileLoad(ui::SlotFileRead(files), slotsBack, settings);
    EXPECT_EQ(slotsBack.textSlots[0].text, "first");
    EXPECT_EQ(slotsBack.textSlots[1].text, "third");
}

// Only a file that is there and cannot be read is reported: its history must survive the
// session. Nothing, or something that is no ordinary file (a FIFO would block the start), is an
// empty history.
TEST_F(Persistence, AHistoryFileThatCannotBeReadIsToldFromAMissingOne) {
    EXPECT_FALSE(ui::SlotFileRead(files).unreadable);
    ASSERT_EQ(mkfifo("kobako.f3", 0600), 0);
    const auto fromFifo = ui::SlotFileRead(files);
    EXPECT_TRUE(fromFifo.records.empty());
    EXPECT_FALSE(fromFifo.unreadable);
    QFile::remove(QStringLiteral("kobako.f3"));
    // Reading a process's memory from its start fails with an I/O error, even for root.
    ASSERT_EQ(symlink("/proc/self/mem", "kobako.f3"), 0);
    const auto failed = ui::SlotFileRead(files);
    ASSERT_TRUE(failed.unreadable);
    EXPECT_EQ(*failed.unreadable, std::strerror(EIO));
}

TEST_F(Persistence, SettingsFileIsFoundInTheStartDirectory) {
    Settings settings;
    settings.setListMaxText("9");
    ASSERT_FALSE(ui::Form2Save(files, settings));
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    Settings back;
    ui::Form2Load(files, back);
    EXPECT_EQ(back.listMaxText(), "9");
}

TEST_F(Persistence, AFailedWriteNamesTheFileAndKeepsTheOldOne) {
    { std::ofstream("kobako.f1") << "old"; }
    QDir().mkdir(QStringLiteral("kobako.f3"));
    Settings settings;
    History history(settings);
    auto failure = ui::SlotFileSave(files, ui::SlotFileBytes(history, settings));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->file, "kobako.f3");
    EXPECT_FALSE(failure->reason.empty());
    EXPECT_TRUE(QDir().exists(QStringLiteral("kobako.f3")));
    // No temporary file is left behind.
    EXPECT_EQ(QDir().entryList(QDir::Files).size(), 1);
}

} // namespace
} // namespace kobako

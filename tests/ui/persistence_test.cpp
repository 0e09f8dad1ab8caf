#include "ui/persistence.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    ASSERT_FALSE(ui::SlotFileSave(files, history, settings));
    History back(settings);
    ui::SlotFileLoad(files, back, settings);
    ASSERT_EQ(back.list.size(), 3u);
    EXPECT_EQ(back.list[0].text, "a\r\n");
    EXPECT_EQ(back.list[2].text, "");

    settings.displayMode = DisplayMode::TextBoxes;
    History slotHistory(settings);
    slotHistory.textSlots[0].text = "first";
    slotHistory.textSlots[2].text = "third"; // slot 1 was emptied by editing
    ASSERT_FALSE(ui::SlotFileSave(files, slotHistory, settings));
    History slotsBack(settings);
    ui::SlotFileLoad(files, slotsBack, settings);
    EXPECT_EQ(slotsBack.textSlots[0].text, "first");
    EXPECT_EQ(slotsBack.textSlots[1].text, "third");
}

TEST_F(Persistence, AHistoryFileInCp932IsReadConverted) {
    // "日本語" and "テスト" in Shift_JIS, as the Windows original wrote them.
    {
        std::ofstream("kobako.f3", std::ios::binary)
            << "\x93\xfa\x96\x7b\x8c\xea\r\nText Start Point\r\n"
               "\x83\x65\x83\x58\x83\x67\r\nText Start Point\r\n";
    }
    EXPECT_EQ(ui::SlotFileRead(files), (std::vector<std::string>{"日本語", "テスト"}));
    { std::ofstream("kobako.f3", std::ios::binary) << "日本語\r\nText Start Point\r\n"; }
    EXPECT_EQ(ui::SlotFileRead(files), (std::vector<std::string>{"日本語"}));
    QFile::remove(QStringLiteral("kobako.f3"));
    EXPECT_FALSE(ui::SlotFileRead(files));
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
    auto failure = ui::SlotFileSave(files, history, settings);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->file, "kobako.f3");
    EXPECT_FALSE(failure->reason.empty());
    EXPECT_TRUE(QDir().exists(QStringLiteral("kobako.f3")));
    // No temporary file is left behind.
    EXPECT_EQ(QDir().entryList(QDir::Files).size(), 1);
}

} // namespace
} // namespace kobako

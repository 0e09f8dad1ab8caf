#include "platform/caption_bar.h"
#include "platform/twips.h"
#include "ui/settings_window.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>

namespace kobako {
namespace {

using testing::readFile;
using testing::writeFile;

class SettingsWindowTest : public testing::HistoryWindowTest {
  protected:
    ui::SettingsWindow &settingsWindow() { return window_->settingsWindow(); }
    QLineEdit *box(int i) {
        return settingsWindow().findChild<QLineEdit *>(i ? "iconHeightBox" : "listMaxBox");
    }
    void type(int i, const QString &text) {
        box(i)->selectAll();
        QTest::keyClicks(box(i), text);
    }
    void choose(const char *name) {
        settingsWindow().findChild<QRadioButton *>(QString::fromUtf8(name))->click();
    }
    bool slotShown(int i) { return slotText(i) && slotText(i)->isVisibleTo(window_.get()); }
};

TEST_F(SettingsWindowTest, IconHeightBelow18IsRefusedThenASecondOkSucceeds) {
    start();
    type(1, "17");
    settingsWindow().onOk();
    EXPECT_EQ(dialogs_.shown, QStringList{"18以下は、設定できません"});
    EXPECT_EQ(box(1)->text(), "18");
    EXPECT_EQ(settingsWindow().focusWidget(), box(1));
    EXPECT_FALSE(QFile::exists(path("kobako.f2")));
    settingsWindow().onOk();
    EXPECT_EQ(dialogs_.shown.size(), 1);
    EXPECT_EQ(readFile(path("kobako.f2")), " 1 \r\n5\r\n18\r\n0\r\n1\r\n");
}

// Switching display moves the texts over; twelve slots are refused, and a second OK takes ten.
// The lines after the five stay, the paste setting too where it cannot work (offscreen).
TEST_F(SettingsWindowTest, SwitchingDisplayMovesTheTextsAndTakesAtMostTenSlots) {
    writeFile(path("kobako.f2"), " 1 \r\n20\r\n18\r\n0\r\n1\r\nlater=2\r\npaste-after-pick=1\r\n");
    start();
    for (int i = 0; i < 12; ++i)
        copyElsewhere(QStringLiteral("entry %1").arg(i));
    choose("slotsOption");
    type(0, "12");
    settingsWindow().onOk();
    EXPECT_EQ(dialogs_.shown, QStringList{"テキストボックスは最大１０個です"});
    EXPECT_EQ(box(0)->text(), "10");
    EXPECT_FALSE(slotShown(0));
    settingsWindow().onOk();
    EXPECT_EQ(dialogs_.shown.size(), 1);
    EXPECT_FALSE(list()->isVisibleTo(window_.get()));
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(slotShown(i)) << i;
    EXPECT_EQ(slotText(9)->toPlainText(), "entry 2");
    EXPECT_EQ(window_->history().list().size(), 10u); // the number that passed the check
    EXPECT_EQ(readFile(path("kobako.f2")),
              " 1 \r\n10\r\n18\r\n1\r\n1\r\npaste-after-pick=1\r\nlater=2\r\n");

    choose("listOption");
    settingsWindow().onOk();
    EXPECT_FALSE(slotShown(0));
    EXPECT_EQ(list()->geometry().size(), window_->size());
}

// The font goes to the display in use; the dialog starts from the family the list is really
// drawn in and keeps the last effects and fractional size; Cancel changes nothing.
// A key changed is written after the five; one that is no key is said, there and in its box.
TEST_F(SettingsWindowTest, TheCallKeyIsWrittenAndOneThatIsNoKeyIsSaid) {
    start();
    auto *keyBox = settingsWindow().findChild<QLineEdit *>(QStringLiteral("callKeyBox"));
    keyBox->selectAll();
    QTest::keyClicks(keyBox, "Ctrl+Alt+");
    settingsWindow().onOk();
    ASSERT_EQ(dialogs_.shown.size(), 1);
    EXPECT_TRUE(dialogs_.shown[0].contains("「Ctrl+Alt+」はキーとして使えない"));
    EXPECT_EQ(keyBox->toolTip(), dialogs_.shown[0]);
    EXPECT_EQ(readFile(path("kobako.f2")), " 1 \r\n5\r\n18\r\n0\r\n1\r\nhotkey=Ctrl+Alt+\r\n");
}

TEST_F(SettingsWindowTest, FontGoesToTheDisplayInUseAndCancelChangesNothing) {
    start();
    const QFont before = list()->font();
    settingsWindow().chooseFont(); // cancelled
    EXPECT_EQ(list()->font(), before);
    EXPECT_EQ(dialogs_.fontOffered.family(), QFontInfo(before).family());
    dialogs_.fontChosen = QFont(QStringLiteral("Noto Sans CJK JP"), 14);
    dialogs_.fontChosen->setBold(true);
    dialogs_.fontChosen->setPointSizeF(10.5);
    settingsWindow().chooseFont();
    EXPECT_TRUE(list()->font().bold());
    EXPECT_EQ(slotText(0), nullptr); // the slots, not shown, are not even made
    settingsWindow().chooseFont();
    EXPECT_TRUE(dialogs_.fontOffered.bold());
    EXPECT_EQ(dialogs_.fontOffered.pointSizeF(), 10.5); // not rounded to 11

    settings_.displayMode = DisplayMode::TextBoxes;
    dialogs_.fontChosen = QFont(QStringLiteral("Noto Sans CJK JP"), 20);
    settingsWindow().chooseFont();
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(slotText(i)->font().pointSize() == 20, i < 5) << i;
    // Without a number as the list maximum, the slots to change are not known: nothing changes.
    type(0, "abc");
    dialogs_.fontChosen = QFont(QStringLiteral("Noto Sans CJK JP"), 24);
    settingsWindow().chooseFont();
    EXPECT_EQ(slotText(0)->font().pointSize(), 20);
}

// The box shows the autostart entry as it is each time the window opens; OK makes or removes it.
// Writes that fail, the entry's and the settings file's, are each reported, and the settings
// stay applied.
TEST_F(SettingsWindowTest, StartAtLoginIsReadBackEachTimeAndFailedWritesAreReported) {
    qputenv("XDG_CONFIG_HOME", directory_.path().toUtf8());
    const QString entry = path("autostart/kobako.desktop");
    start();
    for (const char *text : {"a", "b", "c"})
        copyElsewhere(QString::fromUtf8(text));
    auto *box = settingsWindow().findChild<QCheckBox *>("startAtLoginBox");
    const auto clickedAndOk = [&](bool shownChecked) {
        settingsWindow().show();
        EXPECT_EQ(box->isChecked(), shownChecked);
        box->click();
        settingsWindow().onOk();
    };
    clickedAndOk(false);
    const std::string exec = QCoreApplication::applicationFilePath().toStdString();
    EXPECT_NE(readFile(entry).find("\nExec=\"" + exec + "\" --data-home\n"), std::string::npos);
    EXPECT_EQ(QProcess::execute("desktop-file-validate", {entry}), 0);
    QFile::remove(entry); // by the user's hand
    clickedAndOk(false);
    clickedAndOk(true);
    EXPECT_FALSE(QFile::exists(entry));
    QFile::remove(path("kobako.f2"));
    for (const QString &file : {entry, path("kobako.f2")})
        QDir().mkpath(file); // in the way of the file
    type(0, "2");
    clickedAndOk(false);
    ASSERT_EQ(dialogs_.shown.size(), 2);
    EXPECT_TRUE(dialogs_.shown[0].contains("kobako.f2"));
    EXPECT_TRUE(dialogs_.shown[1].contains(entry));
    EXPECT_EQ(window_->history().list().size(), 2u); // the trim was applied all the same
    EXPECT_EQ(settings_.listMax(), 2);
    qunsetenv("XDG_CONFIG_HOME");
}

} // namespace
} // namespace kobako

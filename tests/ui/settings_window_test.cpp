#include "platform/caption_bar.h"
#include "platform/twips.h"
#include "ui/settings_window.h"
#include "window_fixture.h"

#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
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
        return settingsWindow().findChild<QLineEdit *>(i == 0 ? QStringLiteral("listMaxBox")
                                                              : QStringLiteral("iconHeightBox"));
    }
    void type(int i, const QString &text) {
        box(i)->selectAll();
        QTest::keyClicks(box(i), text);
    }
    void choose(const char *name) {
        settingsWindow().findChild<QRadioButton *>(QString::fromUtf8(name))->click();
    }
    bool slotShown(int i) { return slotText(i) && slotText(i)->isVisibleTo(window_.get()); }
    bool listShown() { return list()->isVisibleTo(window_.get()); }
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

TEST_F(SettingsWindowTest, SwitchToTextBoxesWithTwelveCompletesOnASecondOkWithTen) {
    writeFile(path("kobako.f2"), " 1 \r\n20\r\n18\r\n0\r\n1\r\n");
    start();
    for (int i = 0; i < 12; ++i)
        copyElsewhere(QStringLiteral("entry %1").arg(i));
    choose("slotsOption");
    type(0, "12");
    settingsWindow().onOk();
    EXPECT_EQ(dialogs_.shown, QStringList{"テキストボックスは最大１０個です"});
    EXPECT_EQ(box(0)->text(), "10");
    EXPECT_FALSE(listShown());
    EXPECT_FALSE(slotShown(0));

    settingsWindow().onOk();
    EXPECT_EQ(dialogs_.shown.size(), 1);
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(slotShown(i)) << i;
    EXPECT_EQ(slotText(0)->toPlainText(), "entry 11");
    EXPECT_EQ(slotText(9)->toPlainText(), "entry 2");
    EXPECT_EQ(readFile(path("kobako.f2")), " 1 \r\n10\r\n18\r\n1\r\n1\r\n");
}

TEST_F(SettingsWindowTest, ThreeFilledSlotsSwitchedToTheList) {
    writeFile(path("kobako.f2"), " 1 \r\n5\r\n18\r\n1\r\n1\r\n");
    start();
    for (const char *text : {"c", "b", "a"})
        copyElsewhere(QString::fromUtf8(text));
    choose("listOption");
    settingsWindow().onOk();
    EXPECT_TRUE(listShown());
    for (int i = 0; i < 10; ++i)
        EXPECT_FALSE(slotShown(i)) << i;
    ASSERT_EQ(window_->history().list().size(), 3u);
    EXPECT_EQ(window_->history().list()[0].text, "a");
    EXPECT_EQ(window_->history().list()[2].text, "c");
    EXPECT_EQ(list()->geometry().size(), window_->size());
}

TEST_F(SettingsWindowTest, LoweringTheMaximumTrimsTheOldest) {
    writeFile(path("kobako.f2"), " 1 \r\n8\r\n18\r\n0\r\n1\r\n");
    start();
    for (int i = 0; i < 8; ++i)
        copyElsewhere(QStringLiteral("%1").arg(i));
    type(0, "5");
    settingsWindow().onOk();
    std::vector<std::string> texts;
    for (const auto &entry : window_->history().list())
        texts.push_back(entry.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"7", "6", "5", "4", "3"}));
    type(0, "9");
    settingsWindow().onOk();
    EXPECT_EQ(window_->history().list().size(), 5u);
    // The number that passed the check is the one used: 0.6 passed as 1 and keeps one entry,
    // 2.5 rounds to 2 as everywhere else.
    for (const auto &[typed, kept] : {std::pair{"2.5", 2u}, std::pair{"0.6", 1u}}) {
        type(0, typed);
        settingsWindow().onOk();
        EXPECT_EQ(window_->history().list().size(), kept) << typed;
    }
    EXPECT_EQ(window_->history().list()[0].text, "7");
}

TEST_F(SettingsWindowTest, FontGoesToTheDisplayInUseAndCancelChangesNothing) {
    start();
    const QFont before = list()->font();
    settingsWindow().chooseFont(); // cancelled
    EXPECT_EQ(list()->font(), before);
    // The dialog starts from the family the list is really drawn in, not a default.
    EXPECT_EQ(dialogs_.fontOffered.family(), QFontInfo(before).family());

    QFont chosen(QStringLiteral("Noto Sans CJK JP"), 14);
    chosen.setBold(true);
    dialogs_.fontChosen = chosen;
    settingsWindow().chooseFont();
    EXPECT_TRUE(list()->font().bold());
    EXPECT_EQ(list()->font().pointSize(), 14);
    EXPECT_EQ(slotText(0), nullptr); // the slots, not shown, are not even made
    settingsWindow().chooseFont();
    EXPECT_TRUE(dialogs_.fontOffered.bold()); // the dialog keeps the last effects
    dialogs_.fontChosen->setPointSizeF(10.5);
    settingsWindow().chooseFont();
    settingsWindow().chooseFont();
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

// Tab reaches every control in the window's order, the spins included; a group of options is
// entered on its selected option and left with the next Tab.
TEST_F(SettingsWindowTest, TabVisitsEveryControlOnceAndEntersEachGroupOnItsSelectedOption) {
    start();
    settingsWindow().show();
    choose("slotsOption");
    choose("positionMiddleLeft");
    QWidget *first = settingsWindow().findChild<QWidget *>(QStringLiteral("slotsOption"));
    first->setFocus(Qt::TabFocusReason);
    std::vector<std::string> visited{first->objectName().toStdString()};
    for (int i = 0; i < 9; ++i) {
        QTest::keyClick(settingsWindow().focusWidget(), Qt::Key_Tab);
        visited.push_back(settingsWindow().focusWidget()->objectName().toStdString());
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"slotsOption", "alwaysOnTopBox", "listMaxBox",
                                                 "iconHeightBox", "positionMiddleLeft", "okButton",
                                                 "versionButton", "fontButton", "listMaxSpin",
                                                 "iconHeightSpin"}));
    QTest::keyClick(settingsWindow().focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(settingsWindow().focusWidget(), first);
    QTest::keyClick(settingsWindow().focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(settingsWindow().focusWidget()->objectName(), "iconHeightSpin");

    // On a spin the arrow keys step it as its arrows do: Up raises (the spin starts at 10).
    QTest::keyClick(settingsWindow().focusWidget(), Qt::Key_Up);
    QTest::keyClick(settingsWindow().focusWidget(), Qt::Key_Up);
    EXPECT_EQ(box(1)->text(), "12");
    QTest::keyClick(settingsWindow().focusWidget(), Qt::Key_Down);
    EXPECT_EQ(box(1)->text(), "11");
    settingsWindow().hide();
}

// Each caption is drawn whole with the fallback font: its control is as wide as the caption
// needs, lies inside its frame, and covers no other control.
TEST_F(SettingsWindowTest, EveryCaptionHasRoomInsideItsFrameAndClearOfItsNeighbours) {
    start();
    for (QWidget *control : settingsWindow().findChildren<QWidget *>()) {
        if (!qobject_cast<QLabel *>(control) && !qobject_cast<QAbstractButton *>(control))
            continue;
        const QString name = control->objectName() + " " + control->property("text").toString();
        // A push button's hint adds a style's least width; its caption needs less.
        const int needed =
            qobject_cast<QPushButton *>(control)
                ? control->fontMetrics().horizontalAdvance(control->property("text").toString()) + 8
                : control->sizeHint().width();
        EXPECT_GE(control->width(), needed) << name.toStdString();
        QWidget *parent = control->parentWidget();
        const QRect room = parent == &settingsWindow()
                               ? parent->rect()
                               : static_cast<QFrame *>(parent)->contentsRect();
        EXPECT_TRUE(room.contains(control->geometry())) << name.toStdString();
        for (QWidget *other : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (other != control && other->isVisibleTo(&settingsWindow())) {
                EXPECT_FALSE(control->geometry().intersects(other->geometry()))
                    << name.toStdString() << " / " << other->objectName().toStdString();
            }
    }
}

TEST_F(SettingsWindowTest, AlwaysInFrontIsAppliedEvenWhenOkStops) {
    start();
    settingsWindow().findChild<QCheckBox *>(QStringLiteral("alwaysOnTopBox"))->click();
    type(0, "x");
    settingsWindow().onOk();
    EXPECT_FALSE(window_->captionBar().alwaysOnTop());
    settingsWindow().findChild<QCheckBox *>(QStringLiteral("alwaysOnTopBox"))->click();
    type(0, "5");
    settingsWindow().onOk();
    EXPECT_TRUE(window_->captionBar().alwaysOnTop());
}

TEST_F(SettingsWindowTest, ASettingsFileThatCannotBeWrittenIsReportedAndTheSettingsStayApplied) {
    start();
    for (const char *text : {"a", "b", "c"})
        copyElsewhere(QString::fromUtf8(text));
    QDir(directory_.path()).mkdir(QStringLiteral("kobako.f2"));
    type(0, "2");
    settingsWindow().onOk();
    ASSERT_EQ(dialogs_.shown.size(), 1);
    EXPECT_TRUE(dialogs_.shown[0].contains("kobako.f2"));
    EXPECT_EQ(window_->history().list().size(), 2u); // the trim was applied all the same
    EXPECT_EQ(settings_.listMax(), 2);
}

} // namespace
} // namespace kobako

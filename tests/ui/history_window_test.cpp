#include "platform/caption_bar.h"
#include "window_fixture.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QTimer>

namespace kobako {
namespace {

using testing::HistoryWindowTest;
using testing::readFile;
using testing::writeFile;

// A pick changes no text: the history file is written again only for a change of what it holds.
TEST_F(HistoryWindowTest, APickLeavesTheHistoryFileAlone) {
    writeFile(path("kobako.f3"), "a\r\nText Start Point\r\nb\r\nText Start Point\r\n");
    start();
    const auto *saveDelay = window_->findChild<QTimer *>(QStringLiteral("historySaveDelay"));
    ASSERT_NE(saveDelay, nullptr);
    clickRow(1);
    clickRow(0, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(clipboardText(), "ba");
    EXPECT_FALSE(saveDelay->isActive());
    clickRow(0, Qt::RightButton);
    EXPECT_TRUE(saveDelay->isActive());
}

// At the window's size as designed, with ten slots, each slot shows its first line whole: inside
// its text area, clear of its scroll bars, above the slot below it.
TEST_F(HistoryWindowTest, TenSlotsEachShowTheirFirstLineWhole) {
    writeFile(path("kobako.f2"), " 1 \r\n10\r\n18\r\n1\r\n1\r\n");
    start();
    for (int i = 0; i < 10; ++i)
        copyElsewhere(QStringLiteral("%1 日本語 Ågy\nsecond line").arg(i));
    for (int i = 0; i < 10; ++i) {
        QPlainTextEdit *slot = slotText(i);
        QRect shown = slot->viewport()->geometry().translated(slot->pos());
        if (i < 9)
            shown.setBottom(std::min(shown.bottom(), slotText(i + 1)->y() - 1));
        const QRect line = slot->cursorRect(QTextCursor(slot->document()))
                               .adjusted(0, 0, 100, 0)
                               .intersected(slot->viewport()->rect())
                               .translated(slot->viewport()->mapTo(slot->parentWidget(), QPoint()));
        EXPECT_GE(line.height(), slot->fontMetrics().height()) << i;
        EXPECT_TRUE(shown.contains(line)) << i << ": line " << line.y() << "+" << line.height()
                                          << " in " << shown.y() << "+" << shown.height();
    }
}

TEST_F(HistoryWindowTest, ClearAllAsksFirstAndWritesNoFile) {
    writeFile(path("kobako.f3"), "kept\r\nText Start Point\r\n");
    start();
    copyElsewhere("x");
    window_->onCaptionButton(platform::CaptionButton::ClearAll);
    EXPECT_EQ(window_->history().list().size(), 2u); // answered No
    dialogs_.answers = {true};
    window_->onCaptionButton(platform::CaptionButton::ClearAll);
    EXPECT_TRUE(window_->history().list().empty());
    EXPECT_EQ(dialogs_.shown.back(), "全消去します");
    EXPECT_EQ(readFile(path("kobako.f3")), "kept\r\nText Start Point\r\n");
}

// Without a mouse: Up and Down move the current entry from the one last clicked, Enter gives it
// back, Delete deletes the selected ones; the focus alone makes no entry current. In a slot,
// Ctrl+Enter gives it back while Enter alone still types, and Tab goes to the next slot.
TEST_F(HistoryWindowTest, TheKeyboardGivesBackAndDeletesAsTheMouseDoes) {
    start();
    for (const char *text : {"one", "two", "three"})
        copyElsewhere(QString::fromUtf8(text));
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_EQ(clipboardText(), "three"); // nothing picked: the newest copy stays
    clickRow(2);
    EXPECT_EQ(clipboardText(), "one");
    QTest::keyClick(list(), Qt::Key_Up);
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_EQ(clipboardText(), "two");
    QTest::keyClick(list(), Qt::Key_Delete);
    ASSERT_EQ(window_->history().list().size(), 2u);
    EXPECT_EQ(window_->history().list()[0].text.str() + window_->history().list()[1].text.str(),
              "threeone");
    EXPECT_EQ(clipboardText(), "two"); // a delete writes nothing

    settings_.displayMode = DisplayMode::TextBoxes;
    window_.reset();
    start();
    for (const char *text : {"three", "two", "one"})
        copyElsewhere(QString::fromUtf8(text));
    QTest::keyClick(slotText(1), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(clipboardText(), "two");
    EXPECT_TRUE(window_->history().textSlots()[1].marked);
    EXPECT_EQ(window_->history().textSlots()[1].text, "two"); // no line end typed
    window_->activateWindow();
    slotText(1)->setFocus();
    QTest::keyClick(slotText(1), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), slotText(2));
    QTest::keyClick(slotText(2), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), slotText(1));
    EXPECT_EQ(window_->history().textSlots()[1].text, "two"); // no tab typed
    EXPECT_EQ(dialogs_.shown, QStringList()); // moving on is no typing, checked or not
}

// Typing in the list finds: a click then picks the entry shown where it lands, Esc empties the
// field and the whole list comes back.
TEST_F(HistoryWindowTest, TypingFindsAndClicksPickWhatIsShown) {
    start();
    for (const char *text : {"apple pie", "banana", "Apple crumble", "cherry"})
        copyElsewhere(QString::fromUtf8(text));
    auto *field = window_->findChild<QLineEdit *>(QStringLiteral("findField"));
    // Full-width letters, as a keyboard in Japanese mode types them: the first starts the field.
    for (const QString &letter :
         {QStringLiteral("Ａ"), QStringLiteral("Ｐ"), QStringLiteral("Ｐ")}) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, letter);
        QApplication::sendEvent(field->isVisible() ? static_cast<QWidget *>(field) : list(), &key);
    }
    EXPECT_TRUE(field->isVisibleTo(window_.get()));
    EXPECT_EQ(field->text(), "ＡＰＰ");
    ASSERT_EQ(list()->model()->rowCount(), 2);
    EXPECT_LT(list()->geometry().bottom(), field->geometry().top());
    clickRow(1);
    EXPECT_EQ(clipboardText(), "apple pie");
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(field->isVisibleTo(window_.get()));
    EXPECT_EQ(list()->model()->rowCount(), 4);
}

// Only what types a character is refused in an unchecked slot (Delete and the arrows edit), be
// it a key or Japanese committed by an input method; in a checked slot typing puts the slot's
// text on the clipboard first.
TEST_F(HistoryWindowTest, TypingFollowsTheCheckMarkForKeysAndInputMethods) {
    writeFile(path("kobako.f2"), " 1 \r\n5\r\n18\r\n1\r\n1\r\n");
    start();
    copyElsewhere("xyz");
    copyElsewhere("abc");
    auto commit = [&](int slot, const QString &text) {
        QInputMethodEvent composing(text, {}); // shown while composing: no rule yet
        QCoreApplication::sendEvent(slotText(slot), &composing);
        QInputMethodEvent committed;
        committed.setCommitString(text);
        QCoreApplication::sendEvent(slotText(slot), &committed);
    };
    QTest::mouseClick(slotMark(1), Qt::LeftButton); // slot 1 checked, slot 0 not
    slotText(0)->moveCursor(QTextCursor::Start);
    QTest::keyClick(slotText(0), Qt::Key_Right);
    QTest::keyClick(slotText(0), Qt::Key_Delete);
    EXPECT_TRUE(dialogs_.shown.isEmpty());
    QTest::keyClick(slotText(0), Qt::Key_B);
    commit(0, QStringLiteral("日本"));
    EXPECT_EQ(slotText(0)->toPlainText(), "ac");
    EXPECT_EQ(dialogs_.shown, QStringList(2, "チェックマークがないと入力できません。"));

    QGuiApplication::clipboard()->clear();
    QCoreApplication::processEvents();
    slotText(1)->moveCursor(QTextCursor::End);
    commit(1, QStringLiteral("日本"));
    EXPECT_EQ(clipboardText(), "xyz"); // the clipboard step, before the text goes in
    EXPECT_EQ(window_->history().textSlots()[1].text, "xyz日本");
    EXPECT_EQ(dialogs_.shown.size(), 2);
}

} // namespace
} // namespace kobako

#include "history_window.h"

#include "core/mouse.h"
#include "list_finder.h"
#include "platform/dialogs.h"

#include <QCheckBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPlainTextEdit>

namespace kobako::ui {

namespace {

MouseButton buttonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return MouseButton::Left;
    case Qt::RightButton:
        return MouseButton::Right;
    case Qt::MiddleButton:
        return MouseButton::Middle;
    default:
        return MouseButton::Other;
    }
}

Modifiers modifiersOf(Qt::KeyboardModifiers modifiers) {
    return modifiersHeld(modifiers & Qt::ShiftModifier, modifiers & Qt::ControlModifier,
                         modifiers & Qt::AltModifier, modifiers & Qt::MetaModifier);
}

bool isInSelection(const QPlainTextEdit &edit, QPointF position) {
    const QTextCursor selection = edit.textCursor();
    const int at = edit.cursorForPosition(position.toPoint()).position();
    return selection.hasSelection() && at >= selection.selectionStart() &&
           at < selection.selectionEnd();
}

bool isPress(QEvent::Type type) {
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
}

} // namespace

bool HistoryWindow::eventFilter(QObject *watched, QEvent *event) {
    if (watched == historyList_->viewport())
        return listEvent(event);
    if (watched == historyList_)
        return listKeyEvent(event);
    if (watched == &finder_->field())
        return findFieldKeyEvent(event);
    for (int i = 0; slotsBuilt() && i < History::kSlotCount; ++i) {
        if (watched == slotMarks_[i])
            return slotMarkEvent(i, event);
        if (watched == slotTexts_[i]->viewport())
            return slotTextEvent(i, event);
        if (watched == slotTexts_[i])
            return slotKeyEvent(i, event);
    }
    return QWidget::eventFilter(watched, event);
}

// The list reacts to a left press by making the item current and toggling it; no other button
// changes it. Every release runs the list handler.
bool HistoryWindow::listEvent(QEvent *event) {
    if (isPress(event->type())) {
        auto *press = static_cast<QMouseEvent *>(event);
        const int place = historyList_->indexAt(press->position().toPoint()).row();
        if (press->button() == Qt::LeftButton && place >= 0) {
            history_.toggleListItem(history_.rowAtPlace(place));
            refreshViews();
        }
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        auto *release = static_cast<QMouseEvent *>(event);
        history_.releaseOnList(buttonOf(release->button()), modifiersOf(release->modifiers()),
                               pickWriter_);
        refreshViews();
        return true;
    }
    return false;
}

// Without a mouse: Enter gives the current entry back as a plain click does, Delete deletes the
// selected entries as a right click does. Up and Down move the current entry from where the
// clicks and keys left it. Typing starts finding; Esc gives the keyboard back.
bool HistoryWindow::listKeyEvent(QEvent *event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (finder_->typeInto(*key) || listPickKey(*key))
        return true;
    if (key->modifiers() != Qt::NoModifier && key->modifiers() != Qt::KeypadModifier)
        return false;
    if (key->key() == Qt::Key_Delete)
        history_.releaseOnList(MouseButton::Right, Modifiers::None, clipboardWriter_);
    else if (key->key() == Qt::Key_Escape)
        giveKeyboardBack();
    else
        return false;
    refreshViews();
    return true;
}

// The find field keeps the keys that edit it; Esc empties it, and the list's keys go to the list.
bool HistoryWindow::findFieldKeyEvent(QEvent *event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
        finder_->stop();
        return true;
    }
    return listPickKey(*key);
}

// Up and Down move among the entries shown; Enter picks the current one and, when the user's key
// took the keyboard from another program, gives it back and pastes there; Shift+Enter only picks.
bool HistoryWindow::listPickKey(const QKeyEvent &key) {
    const Qt::KeyboardModifiers held = key.modifiers() & ~Qt::KeypadModifier;
    const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    if (enter && (held == Qt::NoModifier || held == Qt::ShiftModifier)) {
        pickCurrentByKey(held == Qt::NoModifier);
        return true;
    }
    if ((key.key() != Qt::Key_Up && key.key() != Qt::Key_Down) || held != Qt::NoModifier)
        return false;
    history_.moveCurrentRow(key.key() == Qt::Key_Up ? -1 : 1);
    refreshViews();
    return true;
}

void HistoryWindow::pickCurrentByKey(bool thenPaste) {
    const int row = history_.currentRow();
    if (history_.placeOfRow(row) < 0)
        return;
    const SharedText picked = history_.list()[row].text;
    history_.toggleListItem(row);
    history_.releaseOnList(MouseButton::Left, Modifiers::None, clipboardWriter_);
    refreshViews();
    if (thenPaste)
        pasteWhereCalledFrom(picked);
}

// The check box toggles on a left click released over it; the handler runs on every release.
bool HistoryWindow::slotMarkEvent(int index, QEvent *event) {
    if (isPress(event->type()))
        return true;
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    auto *release = static_cast<QMouseEvent *>(event);
    if (release->button() == Qt::LeftButton &&
        slotMarks_[index]->rect().contains(release->position().toPoint()))
        history_.toggleSlotMark(index);
    history_.releaseOnSlotMark(index, buttonOf(release->button()),
                               modifiersOf(release->modifiers()), pickWriter_);
    refreshViews();
    return true;
}

// Clicks on a slot's text pick the slot; the right button on an empty, unchecked slot clears
// the marks and the clipboard. The middle button does nothing here (no pasting of the primary
// selection), and a press inside the selection starts no drag: a slot changes only by typing.
bool HistoryWindow::slotTextEvent(int index, QEvent *event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseButtonRelease && type != QEvent::MouseMove)
        return false;
    auto *mouseEvent = static_cast<QMouseEvent *>(event);
    if (mouseEvent->button() == Qt::MiddleButton)
        return true;
    switch (type) {
    case QEvent::MouseButtonPress:
        if (mouseEvent->button() == Qt::LeftButton) {
            pressedInSelection_[index] = isInSelection(*slotTexts_[index], mouseEvent->position());
            return false;
        }
        if (mouseEvent->button() != Qt::RightButton)
            return false;
        if (history_.pressSlotText(index, MouseButton::Right, clipboardWriter_)) {
            refreshViews();
            dialogs_.message(tr("まだ使用できません。クリップボード内容を破棄します。"));
        }
        return true;
    case QEvent::MouseMove:
        return pressedInSelection_[index] && (mouseEvent->buttons() & Qt::LeftButton);
    case QEvent::MouseButtonDblClick:
        if (mouseEvent->button() != Qt::LeftButton)
            return false;
        doubleClicked_[index] = true; // its release is not a further click
        history_.clickSlotText(index, clipboardWriter_);
        refreshViews();
        return false;
    default: // the release
        if (mouseEvent->button() != Qt::LeftButton)
            return false;
        pressedInSelection_[index] = false;
        if (std::exchange(doubleClicked_[index], false))
            return false;
        history_.clickSlotText(index, clipboardWriter_);
        refreshViews();
        return false;
    }
}

// A key that types a character into a slot: refused without a check mark, otherwise the slot's
// text goes on the clipboard first.
bool HistoryWindow::slotKeyEvent(int index, QEvent *event) {
    // Text from an input method (Japanese through fcitx5 or ibus) arrives committed, not as keys;
    // it follows the same rule, once for each commit.
    if (event->type() == QEvent::InputMethod) {
        if (static_cast<QInputMethodEvent *>(event)->commitString().isEmpty())
            return false;
        return !mayType(index);
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    // Ctrl+Enter gives the slot back, as a click on its text does, and to the program the user's
    // key took the keyboard from, to paste; Enter alone types a line end. Esc gives the keyboard
    // back.
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier) {
        history_.clickSlotText(index, clipboardWriter_);
        refreshViews();
        pasteWhereCalledFrom(history_.textSlots()[index].text);
        return true;
    }
    if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
        giveKeyboardBack();
        return true;
    }
    // Delete carries a text on X11 (DEL) but types no character, like the arrow keys; Tab and
    // Shift+Tab go to another slot.
    if (key->text().isEmpty() || key->key() == Qt::Key_Delete || key->key() == Qt::Key_Tab ||
        key->key() == Qt::Key_Backtab)
        return false;
    return !mayType(index);
}

// Typing into a slot: refused with a message without a check mark, otherwise allowed once the
// slot's text is on the clipboard.
bool HistoryWindow::mayType(int index) {
    if (history_.beforeTyping(index, clipboardWriter_))
        return true;
    dialogs_.message(tr("チェックマークがないと入力できません。"));
    return false;
}

} // namespace kobako::ui

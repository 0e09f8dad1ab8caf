#include "form1.h"

#include "core/mouse.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"

#include <QCheckBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QPlainTextEdit>

namespace kobako::ui {

namespace {

int buttonValue(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return mouse::kLeft;
    case Qt::RightButton:
        return mouse::kRight;
    case Qt::MiddleButton:
        return mouse::kMiddle;
    default:
        return 0;
    }
}

// The modifiers as one sum; a key outside Shift, Ctrl and Alt makes the sum match no gesture.
int shiftState(Qt::KeyboardModifiers modifiers) {
    int state = mouse::kNoKeys;
    if (modifiers & Qt::ShiftModifier)
        state |= mouse::kShift;
    if (modifiers & Qt::ControlModifier)
        state |= mouse::kCtrl;
    if (modifiers & Qt::AltModifier)
        state |= mouse::kAlt;
    if (modifiers & Qt::MetaModifier)
        state |= mouse::kOtherKey;
    return state;
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

bool Form1::eventFilter(QObject *watched, QEvent *event) {
    if (watched == List1->viewport())
        return listEvent(event);
    if (watched == List1)
        return listKeyEvent(event);
    for (int i = 0; slotsBuilt() && i < History::kSlotCount; ++i) {
        if (watched == Check1[i])
            return checkBoxEvent(i, event);
        if (watched == Text1[i]->viewport())
            return slotTextEvent(i, event);
        if (watched == Text1[i])
            return slotKeyEvent(i, event);
    }
    return QWidget::eventFilter(watched, event);
}

// The list reacts to a left press by making the item current and toggling it; no other button
// changes it. Every release runs the list handler.
bool Form1::listEvent(QEvent *event) {
    if (isPress(event->type())) {
        auto *press = static_cast<QMouseEvent *>(event);
        const int row = List1->indexAt(press->position().toPoint()).row();
        if (press->button() == Qt::LeftButton && row >= 0) {
            history_.toggleListItem(row);
            refreshViews();
        }
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        auto *release = static_cast<QMouseEvent *>(event);
        history_.List1_MouseUp(buttonValue(release->button()), shiftState(release->modifiers()),
                               clipboard_);
        refreshViews();
        return true;
    }
    return false;
}

// Without a mouse: Enter gives the current entry back as a plain click does, Delete deletes the
// selected entries as a right click does. Up and Down move the current entry from where the
// clicks and keys left it.
bool Form1::listKeyEvent(QEvent *event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (key->modifiers() != Qt::NoModifier && key->modifiers() != Qt::KeypadModifier)
        return false;
    if (enter) {
        const int row = history_.listIndex;
        if (row < 0)
            return true;
        history_.toggleListItem(row);
        history_.List1_MouseUp(mouse::kLeft, mouse::kNoKeys, clipboard_);
    } else if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
        history_.moveListIndex(key->key() == Qt::Key_Up ? -1 : 1);
    } else if (key->key() == Qt::Key_Delete) {
        history_.List1_MouseUp(mouse::kRight, mouse::kNoKeys, clipboard_);
    } else {
        return false;
    }
    refreshViews();
    return true;
}

// The check box toggles on a left click released over it; the handler runs on every release.
bool Form1::checkBoxEvent(int index, QEvent *event) {
    if (isPress(event->type()))
        return true;
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    auto *release = static_cast<QMouseEvent *>(event);
    Slot &slot = history_.textSlots[index];
    if (release->button() == Qt::LeftButton &&
        Check1[index]->rect().contains(release->position().toPoint()))
        slot.check = slot.check == 1 ? 0 : 1;
    history_.Check1_MouseUp(index, buttonValue(release->button()), shiftState(release->modifiers()),
                            clipboard_);
    refreshViews();
    return true;
}

// Clicks on a slot's text pick the slot; the right button on an empty, unchecked slot clears
// the marks and the clipboard. The middle button does nothing here (no pasting of the primary
// selection), and a press inside the selection starts no drag: a slot changes only by typing.
bool Form1::slotTextEvent(int index, QEvent *event) {
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
            pressedInSelection_[index] = isInSelection(*Text1[index], mouseEvent->position());
            return false;
        }
        if (mouseEvent->button() != Qt::RightButton)
            return false;
        if (history_.Text1_MouseDown(index, mouse::kRight, clipboard_)) {
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
        history_.Text1_Click(index, clipboard_);
        refreshViews();
        return false;
    default: // the release
        if (mouseEvent->button() != Qt::LeftButton)
            return false;
        pressedInSelection_[index] = false;
        if (std::exchange(doubleClicked_[index], false))
            return false;
        history_.Text1_Click(index, clipboard_);
        refreshViews();
        return false;
    }
}

// A key that types a character into a slot: refused without a check mark, otherwise the slot's
// text goes on the clipboard first.
bool Form1::slotKeyEvent(int index, QEvent *event) {
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
    // Ctrl+Enter gives the slot back, as a click on its text does; Enter alone types a line end.
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier) {
        history_.Text1_Click(index, clipboard_);
        refreshViews();
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
bool Form1::mayType(int index) {
    if (history_.Text1_KeyPress(index, clipboard_))
        return true;
    dialogs_.message(tr("チェックマークがないと入力できません。"));
    return false;
}

} // namespace kobako::ui

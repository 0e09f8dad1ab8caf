#include "dialogs.h"

#include <QApplication>
#include <QFontDialog>
#include <QMessageBox>

namespace kobako::platform {

namespace {

// A dialog belongs to the window the user is working in: the modal one (the settings window),
// else the active one, so that it is stacked above it, also above an always-in-front window.
QWidget *ownerOf(QWidget *fallback) {
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget *active = QApplication::activeWindow())
        return active;
    return fallback;
}

QMessageBox::StandardButton ask(QWidget *parent, const QString &text,
                                QMessageBox::StandardButtons buttons) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Kobako"), text, buttons, ownerOf(parent));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void MessageBoxDialogs::message(const QString &text) {
    ask(parent_, text, QMessageBox::Ok);
}

bool MessageBoxDialogs::askYesNo(const QString &text) {
    return ask(parent_, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<QFont> MessageBoxDialogs::chooseFont(const QFont &initial) {
    // Qt's own dialog behaves the same on every desktop.
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, initial, ownerOf(parent_), QString(),
                                            QFontDialog::DontUseNativeDialog);
    if (!chosen)
        return std::nullopt;
    return font;
}

} // namespace kobako::platform

#include "dialogs.h"

#include <QMessageBox>

namespace kobako::platform {

namespace {

QMessageBox::StandardButton ask(QWidget *parent, const QString &text,
                                QMessageBox::StandardButtons buttons) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Kobako"), text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void MessageBoxDialogs::message(const QString &text) {
    ask(parent_, text, QMessageBox::Ok);
}

bool MessageBoxDialogs::askYesNo(const QString &text) {
    return ask(parent_, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

} // namespace kobako::platform

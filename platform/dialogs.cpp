#include "dialogs.h"

#include <QApplication>
#include <QFontDialog>
#include <QMessageBox>
#include <QProcess>

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

// Through xdg-open, which says whether it found a program: Qt's own opening only says whether
// it could start xdg-open.
void MessageBoxDialogs::openDocument(const QString &path, std::function<void()> unopened) {
    auto *opener = new QProcess;
    opener->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(opener, &QProcess::finished, [opener, unopened](int status) {
        if (status != 0)
            unopened();
        opener->deleteLater();
    });
    QObject::connect(opener, &QProcess::errorOccurred,
                     [opener, unopened](QProcess::ProcessError e) {
                         if (e != QProcess::FailedToStart)
                             return;
                         unopened();
                         opener->deleteLater();
                     });
    opener->start(QStringLiteral("xdg-open"), {path});
}

} // namespace kobako::platform

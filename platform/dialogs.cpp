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

// Shown modal without a loop of its own; deleted once closed.
void ask(QWidget *parent, const QString &text, QMessageBox::StandardButtons buttons,
         std::function<void(QMessageBox::StandardButton)> answered) {
    auto *box = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Kobako"), text, buttons,
                                ownerOf(parent));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    QObject::connect(box, &QMessageBox::finished, box, [box, answered = std::move(answered)] {
        if (answered)
            answered(box->standardButton(box->clickedButton()));
    });
    box->show();
}

} // namespace

void MessageBoxDialogs::message(const QString &text, std::function<void()> closed) {
    ask(parent_, text, QMessageBox::Ok, [closed = std::move(closed)](auto) {
        if (closed)
            closed();
    });
}

void MessageBoxDialogs::askYesNo(const QString &text, std::function<void(bool)> answered) {
    ask(parent_, text, QMessageBox::Yes | QMessageBox::No,
        [answered = std::move(answered)](QMessageBox::StandardButton button) {
            answered(button == QMessageBox::Yes);
        });
}

// Qt's own dialog behaves the same on every desktop.
void MessageBoxDialogs::chooseFont(const QFont &initial,
                                   std::function<void(const QFont &)> chosen) {
    auto *dialog = new QFontDialog(initial, ownerOf(parent_));
    dialog->setOption(QFontDialog::DontUseNativeDialog);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    QObject::connect(dialog, &QFontDialog::fontSelected, dialog, std::move(chosen));
    dialog->show();
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

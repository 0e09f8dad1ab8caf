#include "paste_after_pick.h"

#include "paste_keys.h"

#include <QClipboard>
#include <QGuiApplication>

#include <chrono>

namespace kobako::platform {

namespace {
// Often enough that the paste follows the release at once, seldom enough to cost nothing.
constexpr std::chrono::milliseconds kReleaseCheck{5};
} // namespace

PickPaster::PickPaster(QObject *parent) : QObject(parent) {
    released_.setInterval(kReleaseCheck);
    connect(&released_, &QTimer::timeout, this, &PickPaster::pasteOnceReleased);
}

void PickPaster::paste(const QString &text) {
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection())
        clipboard->setText(text, QClipboard::Selection);
    released_.start();
    pasteOnceReleased();
}

void PickPaster::pasteOnceReleased() {
    if (paste_keys::inputHeld())
        return;
    released_.stop();
    if (paste_keys::anotherProgramTypes())
        paste_keys::sendPasteKeystroke();
}

} // namespace kobako::platform

#include "clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace kobako::platform {

namespace {
const QString kPasswordHint = QStringLiteral("x-kde-passwordManagerHint");
}

Clipboard::Clipboard(QObject *parent) : QObject(parent) {
    connect(QGuiApplication::clipboard(), &QClipboard::changed, this,
            [this](QClipboard::Mode mode) {
                if (mode == QClipboard::Clipboard && !writing_)
                    emit NewClipboardData();
            });
}

std::optional<std::string> Clipboard::text() const {
    QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *data = clipboard->mimeData();
    if (!data)
        return std::nullopt;
    if (data->hasFormat(kPasswordHint) && data->data(kPasswordHint).trimmed() == "secret")
        return std::nullopt;
    // hasText() is not the test: it misses text offered only as text/plain;charset=utf-8 and
    // takes a list of URIs for text. A null text means none is offered.
    const QString text = clipboard->text();
    if (text.isNull())
        return std::nullopt;
    return text.toStdString();
}

void Clipboard::write(const std::function<void()> &qtWrite) {
    writing_ = true;
    qtWrite();
    writing_ = false;
    emit NewClipboardData();
}

void Clipboard::Clear() {
    // clear() would be announced a second time from the event loop; an empty offer is not.
    write([] { QGuiApplication::clipboard()->setMimeData(new QMimeData); });
}

void Clipboard::SetText(const std::string &text) {
    write([&text] { QGuiApplication::clipboard()->setText(QString::fromStdString(text)); });
}

} // namespace kobako::platform

#include "clipboard.h"

#include "core/clipboard_offer.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#ifdef KOBAKO_X11
#include "bridged_clipboard.h"
#include "x11/clipboard_reader.h"

#include <xcb/xcb.h>
#endif

#include <utility>

namespace kobako::platform {

namespace {

// A text given back without a copy: its bytes are handed over, as UTF-8, only when a program
// pastes it (a copy then, as the X server takes the bytes anyway). Without a text, the clipboard
// emptied. While one of these is the clipboard's, a change is the echo of the pick that set it.
class SharedTextOffer : public QMimeData {
  public:
    explicit SharedTextOffer(std::optional<SharedText> text) : text_(std::move(text)) {}
    QStringList formats() const override {
        if (!text_)
            return {};
        return {QStringLiteral("text/plain;charset=utf-8"), QStringLiteral("text/plain")};
    }
    bool hasFormat(const QString &type) const override { return formats().contains(type); }

  protected:
    QVariant retrieveData(const QString &type, QMetaType wanted) const override {
        if (!hasFormat(type))
            return {};
        const QByteArray bytes(text_->str().data(), static_cast<qsizetype>(text_->size()));
        if (wanted.id() == QMetaType::QString)
            return QString::fromUtf8(bytes);
        return bytes;
    }

  private:
    std::optional<SharedText> text_;
};

bool isPickOffer(const QMimeData *data) {
    return dynamic_cast<const SharedTextOffer *>(data) != nullptr;
}

} // namespace

Clipboard::Clipboard(std::unique_ptr<ClipboardWatch> reader, QObject *parent)
    : QObject(parent), reader_(std::move(reader)) {
    if (reader_) {
#ifdef KOBAKO_X11
        // Qt writes through its own X connection: the reader leaves that client's changes alone.
        auto *x11Reader = dynamic_cast<X11ClipboardReader *>(reader_.get());
#ifdef KOBAKO_WAYLAND
        if (auto *bridged = dynamic_cast<BridgedClipboard *>(reader_.get()))
            x11Reader = &bridged->x11();
#endif
        auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        if (x11Reader && x11) {
            const xcb_setup_t *setup = xcb_get_setup(x11->connection());
            x11Reader->ignoreClient(setup->resource_id_base, setup->resource_id_mask);
        }
#endif
        reader_->setListener([this](ClipboardChange change) {
            // On the reader's thread: hand the change to the user-interface thread, in order.
            QMetaObject::invokeMethod(
                this,
                [this, change = std::move(change)]() mutable {
                    current_ = std::move(change);
                    announce(ClipboardOrigin::Elsewhere);
                },
                Qt::QueuedConnection);
        });
    }
    connect(QGuiApplication::clipboard(), &QClipboard::changed, this, &Clipboard::onQtChange);
}

void Clipboard::onQtChange(QClipboard::Mode mode) {
    if (mode != QClipboard::Clipboard || writing_)
        return;
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (clipboard->ownsClipboard() && isPickOffer(clipboard->mimeData()))
        return; // announced as the pick's own when it was written
    if (reader_) {
        // The reader sees every other program's change; only a copy made in this program's own
        // windows (Qt's, so the reader leaves it alone) is read here.
        if (!clipboard->ownsClipboard())
            return;
        current_ = {readWithQt(), std::chrono::steady_clock::now()};
    }
    announce(ClipboardOrigin::Elsewhere);
}

// The origin holds while the handler runs, for its questions about this change.
void Clipboard::announce(ClipboardOrigin origin) {
    announcing_ = origin;
    if (changed_)
        changed_();
    announcing_ = ClipboardOrigin::Elsewhere;
}

Clipboard::~Clipboard() = default;

void Clipboard::whenLost(std::function<void()> lost) {
    if (reader_)
        reader_->whenLost([this, lost = std::move(lost)] {
            QMetaObject::invokeMethod(this, lost, Qt::QueuedConnection);
        });
}

ClipboardChange Clipboard::takeChange() {
    const Moment now = std::chrono::steady_clock::now();
    if (announcing_ == ClipboardOrigin::OwnPickWrite)
        return {std::nullopt, now};
    if (!reader_)
        return {readWithQt(), now};
    ClipboardChange taken = std::move(current_);
    current_.text = taken.text ? std::optional<std::string>(std::string()) : std::nullopt;
    return taken;
}

std::optional<std::string> Clipboard::readWithQt() const {
    QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *data = clipboard->mimeData();
    if (!data)
        return std::nullopt;
    // Qt has asked for the types and the mark of one offer; a mark it could not read is empty.
    const QString markType = QString::fromLatin1(kSecretMarkType);
    MarkEvidence mark{data->hasFormat(markType), MarkEvidence::Answer::Refused, {}};
    if (const QByteArray value = data->data(markType); !value.isEmpty())
        mark = {mark.listed, MarkEvidence::Answer::Read, value.toStdString()};
    if (judgeMark(mark, true) != MarkVerdict::Public)
        return std::nullopt;
    // hasText() is not the test: it misses text offered only as text/plain;charset=utf-8 and
    // takes a list of URIs for text. A null text means none is offered.
    const QString text = clipboard->text();
    if (text.isNull())
        return std::nullopt;
    return text.toStdString();
}

// Through the watch where it writes (Wayland's data control), else through Qt. The echo of the
// write needs no text: the capture knows it by its origin.
void Clipboard::write(std::optional<SharedText> text) {
    writing_ = true;
    if (reader_ && reader_->writes()) {
        reader_->offer(std::move(text));
    } else {
        // Emptied with an empty offer: clear() would be announced a second time from the event
        // loop.
        QGuiApplication::clipboard()->setMimeData(new SharedTextOffer(std::move(text)));
    }
    writing_ = false;
    current_.text.reset();
    announce(ClipboardOrigin::OwnPickWrite);
}

void Clipboard::clear() {
    write(std::nullopt);
}

void Clipboard::setText(const SharedText &text) {
    write(text);
}

} // namespace kobako::platform

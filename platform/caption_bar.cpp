#include "caption_bar.h"

#include "caption_pictures.h"
#include "fonts.h"
#include "twips.h"
#include "window_manager.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace kobako::platform {

namespace {
constexpr int kButtonsPerGroup = 3;
}

CaptionBar::CaptionBar(QWidget *window) : QWidget(window) {
    window->installEventFilter(this);
    setFont(japaneseFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    setCaptionButtonHeight(captionButtonHeight_);
}

void CaptionBar::setCaptionButtonHeight(int16_t height) {
    captionButtonHeight_ = height;
    setFixedHeight(std::max(1, toPixels(static_cast<float>(height) * 20)));
    update();
}

void CaptionBar::setAlwaysOnTop(bool inFront) {
    alwaysOnTop_ = inFront;
    requestKeepAbove(*window(), inFront);
}

// A window manager forgets the state of a window that was hidden: it is asked again each time
// the window is shown, once Qt has mapped it.
bool CaptionBar::eventFilter(QObject *watched, QEvent *event) {
    if (watched == window() && event->type() == QEvent::Show)
        QTimer::singleShot(0, this, [this] { requestKeepAbove(*window(), alwaysOnTop_); });
    return QWidget::eventFilter(watched, event);
}

void CaptionBar::setCaptureButtonPicture(const QPixmap &picture) {
    if (picture.isNull())
        return;
    capturePicture_ = picture;
    update();
}

QSize CaptionBar::sizeHint() const {
    return {200, height()};
}

QRect CaptionBar::buttonRect(bool left, int16_t button) const {
    const int size = height();
    // The right group reads from the window's edge inwards: exit in the corner.
    const int x = left ? button * size : width() - (button + 1) * size;
    return QRect(x, 0, size, size).adjusted(1, 1, -1, -1);
}

std::optional<CaptionBar::Hit> CaptionBar::buttonAt(QPoint position) const {
    for (bool left : {true, false})
        for (int16_t button = 0; button < kButtonsPerGroup; ++button)
            if (buttonRect(left, button).contains(position))
                return Hit{left, button};
    return std::nullopt;
}

void CaptionBar::paintEvent(QPaintEvent *) {
    QPainter p(this);
    const bool active = window()->isActiveWindow();
    p.fillRect(rect(), palette().color(active ? QPalette::Active : QPalette::Inactive,
                                       QPalette::Highlight));
    p.setPen(palette().color(QPalette::HighlightedText));
    const int size = height();
    const QRect captionArea =
        rect().adjusted(kButtonsPerGroup * size + 2, 0, -kButtonsPerGroup * size - 2, 0);
    p.drawText(
        captionArea, Qt::AlignCenter,
        fontMetrics().elidedText(window()->windowTitle(), Qt::ElideRight, captionArea.width()));

    const int pictureSize = std::max(1, size - 4);
    const CaptionPicture left[] = {CaptionPicture::Wrench, CaptionPicture::Question,
                                   CaptionPicture::TrafficLightGreen};
    const CaptionPicture right[] = {CaptionPicture::Cross, CaptionPicture::Bar,
                                    CaptionPicture::Bin};
    for (bool isLeft : {true, false}) {
        for (int16_t button = 0; button < kButtonsPerGroup; ++button) {
            const QRect box = buttonRect(isLeft, button);
            p.fillRect(box, palette().color(QPalette::Button));
            const bool sunken = pressed_ && pressed_->left == isLeft && pressed_->button == button;
            p.setPen(palette().color(sunken ? QPalette::Dark : QPalette::Light));
            p.drawRect(box.adjusted(0, 0, -1, -1));
            QPixmap picture =
                isLeft && button == 2 && !capturePicture_.isNull()
                    ? capturePicture_
                    : drawCaptionPicture(isLeft ? left[button] : right[button], pictureSize);
            p.drawPixmap(box.adjusted(1, 1, -1, -1), picture);
        }
    }
}

void CaptionBar::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = buttonAt(event->position().toPoint());
    if (pressed_) {
        update();
        return;
    }
    drag_ = Drag{event->globalPosition().toPoint(), windowPosition(*window())};
}

void CaptionBar::mouseMoveEvent(QMouseEvent *event) {
    if (drag_)
        window()->move(drag_->windowAtStart + event->globalPosition().toPoint() -
                       drag_->pointerAtStart);
}

void CaptionBar::mouseReleaseEvent(QMouseEvent *event) {
    drag_.reset();
    if (event->button() != Qt::LeftButton || !pressed_)
        return;
    const Hit pressed = *pressed_;
    pressed_.reset();
    update();
    const auto released = buttonAt(event->position().toPoint());
    if (!released || released->left != pressed.left || released->button != pressed.button)
        return;
    if (pressed.left)
        emit ClickLButton(pressed.button);
    else
        emit ClickRButton(pressed.button);
}

} // namespace kobako::platform

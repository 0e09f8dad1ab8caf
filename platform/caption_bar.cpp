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

// One caption button: a picture on a raised square, sunken while pressed. It takes no focus, so
// that a click leaves the keyboard where it was in the window.
class PictureButton : public QAbstractButton {
  public:
    PictureButton(CaptionPicture picture, QWidget *parent)
        : QAbstractButton(parent), drawn_(picture) {
        setFocusPolicy(Qt::NoFocus);
    }
    // The picture drawn, unless one is given.
    void setPicture(CaptionPicture drawn, const QPixmap &given) {
        drawn_ = drawn;
        given_ = given;
        update();
    }

  protected:
    void paintEvent(QPaintEvent *) override {
        QPainter p(this);
        const QRect box = rect();
        p.fillRect(box, palette().color(QPalette::Button));
        p.setPen(palette().color(isDown() ? QPalette::Dark : QPalette::Light));
        p.drawRect(box.adjusted(0, 0, -1, -1));
        const QRect inside = box.adjusted(1, 1, -1, -1);
        p.drawPixmap(inside, given_.isNull()
                                 ? drawCaptionPicture(drawn_, std::max(1, inside.height()),
                                                      palette().color(QPalette::ButtonText),
                                                      devicePixelRatioF())
                                 : given_);
    }

  private:
    CaptionPicture drawn_;
    QPixmap given_;
};

} // namespace

CaptionBar::CaptionBar(QWidget *window) : QWidget(window) {
    window->installEventFilter(this);
    setFont(japaneseFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    // In the order of CaptionButton.
    constexpr CaptionPicture pictures[] = {
        CaptionPicture::Wrench, CaptionPicture::Question, CaptionPicture::TrafficLightGreen,
        CaptionPicture::Cross,  CaptionPicture::Bar,      CaptionPicture::Bin};
    for (size_t i = 0; i < buttons_.size(); ++i) {
        buttons_[i] = new PictureButton(pictures[i], this);
        connect(buttons_[i], &QAbstractButton::clicked, this,
                [this, i] { emit clicked(static_cast<CaptionButton>(i)); });
    }
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

void CaptionBar::setCaptureButtonPicture(CaptionPicture drawn, const QPixmap &given) {
    static_cast<PictureButton *>(button(CaptionButton::Capture))->setPicture(drawn, given);
}

void CaptionBar::describeButton(CaptionButton which, const QString &description) {
    button(which)->setToolTip(description);
    button(which)->setAccessibleName(description);
}

QSize CaptionBar::sizeHint() const {
    return {200, height()};
}

void CaptionBar::resizeEvent(QResizeEvent *) {
    placeButtons();
}

// Square buttons as high as the bar; the right group reads from the window's edge inwards, so
// that exit is in the corner.
void CaptionBar::placeButtons() {
    const int size = height();
    for (int number = 0; number < kButtonsPerGroup; ++number) {
        buttons_[number]->setGeometry(QRect(number * size, 0, size, size).adjusted(1, 1, -1, -1));
        buttons_[kButtonsPerGroup + number]->setGeometry(
            QRect(width() - (number + 1) * size, 0, size, size).adjusted(1, 1, -1, -1));
    }
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
}

// The buttons take their own clicks: a press that reaches the bar starts a drag.
void CaptionBar::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        drag_ = Drag{event->globalPosition().toPoint(), windowPosition(*window())};
}

void CaptionBar::mouseMoveEvent(QMouseEvent *event) {
    if (drag_)
        window()->move(drag_->windowAtStart + event->globalPosition().toPoint() -
                       drag_->pointerAtStart);
}

void CaptionBar::mouseReleaseEvent(QMouseEvent *) {
    drag_.reset();
}

} // namespace kobako::platform

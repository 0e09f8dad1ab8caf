#pragma once

#include "caption_pictures.h"

#include <QAbstractButton>
#include <QPixmap>
#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>

class QResizeEvent;

namespace kobako::platform {

// The caption bar's buttons: three at the left, then three at the right from the corner inwards.
enum class CaptionButton { Settings, Help, Capture, Exit, Minimize, ClearAll };

// The history window's own title bar: the caption and three buttons at each end. Dragging it
// moves the window.
class CaptionBar : public QWidget {
    Q_OBJECT
  public:
    explicit CaptionBar(QWidget *window);

    // Caption-button height: 20 twips a unit, which is also the bar's height.
    void setCaptionButtonHeight(int16_t height);
    int16_t captionButtonHeight() const { return captionButtonHeight_; }

    // Keep the window in front of others, asked of the window manager; the native window stays
    // the same.
    void setAlwaysOnTop(bool inFront);
    bool alwaysOnTop() const { return alwaysOnTop_; }

    // The capture button's picture: `given`, or where that is null, `drawn` at the button's size.
    void setCaptureButtonPicture(CaptionPicture drawn, const QPixmap &given);

    // What a button does, in words: its tooltip, and its name for assistive tools.
    void describeButton(CaptionButton button, const QString &description);

    QSize sizeHint() const override;

  signals:
    void clicked(CaptionButton button);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

  private:
    static constexpr int kButtonsPerGroup = 3;
    QAbstractButton *button(CaptionButton which) const {
        return buttons_.at(static_cast<size_t>(which));
    }
    void placeButtons();

    int16_t captionButtonHeight_ = 18;
    // Real buttons, so that assistive tools can name and press them.
    std::array<QAbstractButton *, 2 * kButtonsPerGroup> buttons_{};
    bool alwaysOnTop_ = false;
    // The window moves itself: the window manager's own move (startSystemMove) is refused
    // without one, and with synthetic pointer events Qt 6.4 hands it a wrong starting point.
    struct Drag {
        QPoint pointerAtStart;
        QPoint windowAtStart;
    };
    std::optional<Drag> drag_;
};

} // namespace kobako::platform

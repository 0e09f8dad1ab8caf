#pragma once

#include "platform/twips.h"

#include <QWidget>

namespace kobako::ui {

// Places a control as designed: left, top, width and height in twips.
inline void placeInTwips(QWidget *control, float left, float top, float width, float height) {
    using platform::toPixels;
    control->setGeometry(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

// Centres a window on the screen's work area, as the settings and version windows place
// themselves.
inline void centreOnScreen(QWidget &window) {
    using platform::WindowTwips;
    WindowTwips::setTop(window,
                        platform::screenHeightTwips() / 2 - WindowTwips::height(window) / 2);
    WindowTwips::setLeft(window, platform::screenWidthTwips() / 2 - WindowTwips::width(window) / 2);
}

} // namespace kobako::ui

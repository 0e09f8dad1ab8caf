#pragma once

#include "platform/twips.h"

#include <QWidget>

namespace kobako::ui {

// Places a control as designed: left, top, width and height in twips.
inline void placeInTwips(QWidget *control, float left, float top, float width, float height) {
    using platform::toPixels;
    control->setGeometry(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

} // namespace kobako::ui

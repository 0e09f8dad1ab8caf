#pragma once

#include <QColor>
#include <QPixmap>

namespace kobako::platform {

// The pictures of the six caption buttons, drawn by the program at any size. The wrench, the
// question mark, the bar and the bin are drawn in the ink given (the button text of the palette,
// so that they stand out in a light and a dark theme alike); the lamps and the cross keep their
// colours.
enum class CaptionPicture { Wrench, Question, TrafficLightGreen, TrafficLightRed, Cross, Bar, Bin };

// `size` in pixels of the window, drawn in as many device pixels as `ratio` asks (a 2x screen).
QPixmap drawCaptionPicture(CaptionPicture picture, int size, const QColor &ink, qreal ratio);

// The program's own icon: a small box.
QPixmap drawProgramIcon(int size);

} // namespace kobako::platform

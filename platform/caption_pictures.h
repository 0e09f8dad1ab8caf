#pragma once

#include <QPixmap>

namespace kobako::platform {

// The pictures of the six caption buttons, drawn by the program at any size.
enum class CaptionPicture { Wrench, Question, TrafficLightGreen, TrafficLightRed, Cross, Bar, Bin };

QPixmap drawCaptionPicture(CaptionPicture picture, int size);

// The program's own icon: a small box.
QPixmap drawProgramIcon(int size);

} // namespace kobako::platform

#pragma once

class QWidget;

namespace kobako::platform {

// Centres a window about to be shown on the screen's work area, as the settings and version
// windows place themselves: the whole window, title bar and borders included.
void centreOnScreen(QWidget &window);

} // namespace kobako::platform

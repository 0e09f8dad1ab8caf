#pragma once

#include <QRect>

class QWidget;

namespace kobako::platform {

// Geometry in twips (1/1440 inch) over the primary screen's work area: 15 twips a pixel at
// 96 dots per inch. Coordinates start at the work area's top-left corner.
double twipsPerPixel();
// The primary screen's area less the panels, in pixels.
QRect workArea();
float screenWidthTwips();
float screenHeightTwips();

// What the window system keeps of a length set in twips: whole pixels.
float storedTwips(float twips);
int toPixels(float twips);
float fromPixels(int pixels);

// A top-level window's outer rectangle in twips, as the program last placed it.
struct WindowTwips {
    static float top(const QWidget &window);
    static float left(const QWidget &window);
    static float width(const QWidget &window);
    static float height(const QWidget &window);
    static void setTop(QWidget &window, float twips);
    static void setLeft(QWidget &window, float twips);
    static void setWidth(QWidget &window, float twips);
    static void setHeight(QWidget &window, float twips);
};

} // namespace kobako::platform

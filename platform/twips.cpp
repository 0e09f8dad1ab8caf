#include "twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace kobako::platform {

QRect workArea() {
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

namespace {

// Negative lengths (a window lower than its caption) become empty.
int lengthInPixels(float twips) {
    return std::max(0, toPixels(twips));
}

} // namespace

double twipsPerPixel() {
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

int toPixels(float twips) {
    return static_cast<int>(std::lround(twips / twipsPerPixel()));
}
float fromPixels(int pixels) {
    return static_cast<float>(pixels * twipsPerPixel());
}
float storedTwips(float twips) {
    return fromPixels(toPixels(twips));
}

float screenWidthTwips() {
    return fromPixels(workArea().width());
}
float screenHeightTwips() {
    return fromPixels(workArea().height());
}

float WindowTwips::top(const QWidget &window) {
    return fromPixels(window.y() - workArea().y());
}
float WindowTwips::left(const QWidget &window) {
    return fromPixels(window.x() - workArea().x());
}
float WindowTwips::width(const QWidget &window) {
    return fromPixels(window.width());
}
float WindowTwips::height(const QWidget &window) {
    return fromPixels(window.height());
}

void WindowTwips::setTop(QWidget &window, float twips) {
    window.move(window.x(), workArea().y() + toPixels(twips));
}
void WindowTwips::setLeft(QWidget &window, float twips) {
    window.move(workArea().x() + toPixels(twips), window.y());
}
void WindowTwips::setWidth(QWidget &window, float twips) {
    window.resize(lengthInPixels(twips), window.height());
}
void WindowTwips::setHeight(QWidget &window, float twips) {
    window.resize(window.width(), lengthInPixels(twips));
}

} // namespace kobako::platform

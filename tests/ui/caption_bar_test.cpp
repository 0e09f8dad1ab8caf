#include "platform/caption_bar.h"

#include <QAbstractButton>
#include <QImage>
#include <QPalette>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace kobako {
namespace {

double luminance(QColor colour) {
    auto channel = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

double contrast(QColor a, QColor b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QPalette darkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 45));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Button, QColor(53, 53, 53));
    dark.setColor(QPalette::ButtonText, QColor(235, 235, 235));
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    dark.setColor(QPalette::Light, QColor(80, 80, 80));
    dark.setColor(QPalette::Dark, QColor(25, 25, 25));
    return dark;
}

// The contrast of a button's picture against its face: that of the strongest of the colours
// that cover a tenth of the picture at least (the edges of its strokes are blends).
double pictureContrast(const QImage &button, QColor face) {
    std::map<QRgb, int> counts;
    int picture = 0;
    for (int y = 2; y < button.height() - 2; ++y)
        for (int x = 2; x < button.width() - 2; ++x)
            if (const QColor pixel = button.pixelColor(x, y); pixel != face) {
                ++counts[pixel.rgb()];
                ++picture;
            }
    double strongest = 1;
    for (const auto &[colour, count] : counts)
        if (count * 10 >= picture)
            strongest = std::max(strongest, contrast(QColor(colour), face));
    return strongest;
}

// The wrench, the question mark, the minimize bar and the waste bin stand out from their faces
// in a light and a dark theme; the lamps and the red cross keep their own colours.
TEST(CaptionPictures, EachDrawnPictureReachesThreeToOneInALightAndADarkTheme) {
    for (const QPalette &palette : {QPalette(QColor(239, 239, 239)), darkPalette()}) {
        QWidget window;
        window.setPalette(palette);
        window.resize(300, 200);
        auto *bar = new platform::CaptionBar(&window);
        bar->setGeometry(0, 0, 300, bar->height());
        const QColor face = palette.color(QPalette::Button);
        const auto buttons = bar->findChildren<QAbstractButton *>();
        ASSERT_EQ(buttons.size(), 6);
        const int size = bar->height();
        for (QAbstractButton *button : buttons) {
            // The capture lamp is third from the left, the exit cross in the right corner.
            const bool lamp = button->x() == 2 * size + 1;
            const bool cross = button->geometry().right() == bar->width() - 2;
            if (lamp || cross)
                continue;
            const QImage image = button->grab().toImage();
            EXPECT_GE(pictureContrast(image, face), 3.0)
                << "button at x " << button->x() << ", face " << face.name().toStdString();
        }
    }
}

} // namespace
} // namespace kobako

#include "caption_pictures.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <functional>

namespace kobako::platform {

namespace {

// A picture of size x size pixels, drawn in a unit square.
QPixmap drawInUnitSquare(int size, const std::function<void(QPainter &)> &draw) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size, size);
    draw(p);
    return pixmap;
}

void drawTrafficLight(QPainter &p, bool green) {
    p.setPen(QPen(Qt::black, 0.05));
    p.setBrush(QColor(40, 40, 40));
    p.drawRoundedRect(QRectF(0.3, 0.05, 0.4, 0.9), 0.1, 0.1);
    const QColor lit[] = {green ? QColor(70, 20, 20) : QColor(235, 40, 40), QColor(90, 80, 20),
                          green ? QColor(40, 220, 70) : QColor(20, 70, 30)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(lit[i]);
        p.drawEllipse(QPointF(0.5, 0.2 + 0.3 * i), 0.11, 0.11);
    }
}

void drawWrench(QPainter &p, const QColor &ink) {
    p.setPen(QPen(ink, 0.16, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0.22, 0.78), QPointF(0.62, 0.38));
    p.setPen(QPen(ink, 0.1));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(0.5, 0.1, 0.4, 0.4), 60 * 16, 270 * 16);
}

void drawBin(QPainter &p, const QColor &ink) {
    p.setPen(QPen(ink, 0.06));
    QColor body = ink;
    body.setAlphaF(0.3);
    p.setBrush(body);
    p.drawPolygon(QPolygonF({{0.25, 0.3}, {0.75, 0.3}, {0.68, 0.92}, {0.32, 0.92}}));
    p.drawLine(QPointF(0.18, 0.22), QPointF(0.82, 0.22));
    p.drawLine(QPointF(0.42, 0.12), QPointF(0.58, 0.12));
    for (double x : {0.4, 0.5, 0.6})
        p.drawLine(QPointF(x, 0.4), QPointF(x, 0.82));
}

void drawPicture(QPainter &p, CaptionPicture picture, int size, const QColor &ink) {
    switch (picture) {
    case CaptionPicture::Wrench:
        drawWrench(p, ink);
        break;
    case CaptionPicture::Question: {
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(std::max(1, size * 3 / 4));
        p.resetTransform();
        p.setFont(font);
        p.setPen(ink);
        p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    case CaptionPicture::TrafficLightGreen:
    case CaptionPicture::TrafficLightRed:
        drawTrafficLight(p, picture == CaptionPicture::TrafficLightGreen);
        break;
    case CaptionPicture::Cross:
        p.setPen(QPen(QColor(210, 30, 30), 0.16, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0.25, 0.25), QPointF(0.75, 0.75));
        p.drawLine(QPointF(0.75, 0.25), QPointF(0.25, 0.75));
        break;
    case CaptionPicture::Bar:
        p.setPen(QPen(ink, 0.12, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0.25, 0.75), QPointF(0.75, 0.75));
        break;
    case CaptionPicture::Bin:
        drawBin(p, ink);
        break;
    }
}

} // namespace

QPixmap drawCaptionPicture(CaptionPicture picture, int size, const QColor &ink, qreal ratio) {
    const int pixels = std::max(1, qRound(size * ratio));
    QPixmap drawn =
        drawInUnitSquare(pixels, [&](QPainter &p) { drawPicture(p, picture, pixels, ink); });
    drawn.setDevicePixelRatio(ratio);
    return drawn;
}

QPixmap drawProgramIcon(int size) {
    return drawInUnitSquare(size, [](QPainter &p) {
        p.setPen(QPen(QColor(110, 70, 30), 0.05));
        p.setBrush(QColor(205, 150, 90)); // the box
        p.drawRect(QRectF(0.12, 0.4, 0.76, 0.5));
        p.setBrush(QColor(230, 180, 115)); // its open lid
        p.drawPolygon(QPolygonF({{0.12, 0.4}, {0.3, 0.15}, {0.94, 0.15}, {0.88, 0.4}}));
        p.setPen(QPen(QColor(60, 90, 160), 0.05)); // a note sticking out of it
        p.setBrush(Qt::white);
        p.drawRect(QRectF(0.35, 0.05, 0.3, 0.38));
    });
}

} // namespace kobako::platform

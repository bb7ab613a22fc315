#include "purge/pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace purge {

namespace {

constexpr int kSize = 32;

QPixmap Blank() {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void CrumpledBall(QPainter& p, QPointF centre, double radius, const QColor& paper) {
    p.setPen(QPen(QColor(90, 90, 90), 1.0));
    p.setBrush(paper);
    p.drawEllipse(centre, radius, radius);
    // A few creases.
    p.setPen(QPen(QColor(140, 140, 140), 0.8));
    p.drawLine(centre + QPointF(-radius * 0.6, -radius * 0.2), centre + QPointF(0, radius * 0.3));
    p.drawLine(centre + QPointF(0, radius * 0.3), centre + QPointF(radius * 0.5, -radius * 0.4));
    p.drawLine(centre + QPointF(-radius * 0.2, -radius * 0.7), centre + QPointF(0, radius * 0.3));
}

}  // namespace

QPixmap BasuraPicture() {
    QPixmap pixmap = Blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    CrumpledBall(p, {9, 23}, 7, QColor(250, 250, 235));
    CrumpledBall(p, {22, 24}, 6.5, QColor(235, 240, 250));
    CrumpledBall(p, {16, 13}, 7, QColor(255, 255, 255));
    return pixmap;
}

QPixmap TachitoPicture() {
    QPixmap pixmap = Blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor body(70, 120, 70);
    const QColor dark(35, 70, 35);
    // Bin body, narrower at the bottom.
    QPainterPath bin;
    bin.moveTo(7, 9);
    bin.lineTo(25, 9);
    bin.lineTo(22.5, 30);
    bin.lineTo(9.5, 30);
    bin.closeSubpath();
    p.setPen(QPen(dark, 1.2));
    p.setBrush(body);
    p.drawPath(bin);
    // Ribs.
    p.setPen(QPen(dark, 1.0));
    for (double x : {12.0, 16.0, 20.0})
        p.drawLine(QPointF(x, 12), QPointF(x - (x - 16) * 0.15, 27));
    // Lid and handle.
    p.setBrush(QColor(90, 150, 90));
    p.drawRoundedRect(QRectF(5, 5.5, 22, 3.5), 1.5, 1.5);
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(13, 2.5, 6, 3), 1, 1);
    return pixmap;
}

}  // namespace purge

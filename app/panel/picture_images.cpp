#include "picture_images.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QtMath>
#include <algorithm>

#include "image_paint.h"

namespace qav::panel::paint {

namespace {

const QColor kOutline(0x2E, 0x3A, 0x46);

// The pictures are drawn on a 60 x 40 grid and scaled to the size asked for.
constexpr qreal kActivityWidth = 60.0;
constexpr qreal kActivityHeight = 40.0;

void Computer(QPainter& p, bool live) {
    p.setPen(QPen(kOutline, 1.0));
    p.setBrush(QColor(0x5B, 0x66, 0x70));
    p.drawRoundedRect(QRectF(1.5, 7.5, 20, 16), 2, 2);
    p.setBrush(live ? QColor(0x4C, 0x9B, 0xE8) : QColor(0x7F, 0x8B, 0x96));
    p.drawRect(QRectF(3.5, 9.5, 16, 11));
    p.setBrush(QColor(0x5B, 0x66, 0x70));
    p.drawRect(QRectF(9.5, 23.5, 4, 3));
    p.drawRoundedRect(QRectF(5.5, 26.5, 12, 2.5), 1, 1);
}

void Relay(QPainter& p, bool live) {
    p.setPen(QPen(kOutline, 1.0));
    p.setBrush(QColor(0xD5, 0xD9, 0xDD));
    p.drawRoundedRect(QRectF(40.5, 4.5, 18, 27), 2, 2);
    p.setBrush(live ? QColor(0x3C, 0xB0, 0x4A) : QColor(0x40, 0x4A, 0x44));
    p.drawRect(QRectF(43.5, 7.5, 12, 7));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        p.setBrush(live && i == 0 ? QColor(0x2F, 0xD0, 0x3A) : QColor(0x8A, 0x90, 0x8E));
        p.drawEllipse(QPointF(45.5 + 4.0 * i, 19.0), 1.3, 1.3);
    }
    p.setPen(QPen(kOutline, 1.0));
    for (int i = 0; i < 4; ++i) {
        p.drawLine(QPointF(43.5 + 4.0 * i, 31.5), QPointF(43.5 + 4.0 * i, 35.0));
    }
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color) {
    p.setPen(QPen(color, 2.0, Qt::SolidLine, Qt::FlatCap));
    const qreal dir = to.x() > from.x() ? 1.0 : -1.0;
    p.drawLine(from, to - QPointF(dir * 3.0, 0.0));
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(QPolygonF{to, to + QPointF(-dir * 4.5, -3.2), to + QPointF(-dir * 4.5, 3.2)});
}

}  // namespace

void ActivityPicture(QPainter& p, QSize size, LinkActivity activity) {
    BeginDesign(p, size, kActivityWidth, kActivityHeight);
    const bool live = activity != LinkActivity::Idle;
    Computer(p, live);
    Relay(p, live);
    switch (activity) {
        case LinkActivity::Idle:
            p.setPen(QPen(QColor(0x8A, 0x90, 0x96), 1.5, Qt::DashLine));
            p.drawLine(QPointF(23.0, 16.0), QPointF(39.0, 16.0));
            break;
        case LinkActivity::Exchange:
            Arrow(p, QPointF(23.0, 12.5), QPointF(39.0, 12.5), QColor(0x1E, 0x9E, 0x2C));
            Arrow(p, QPointF(39.0, 19.5), QPointF(23.0, 19.5), QColor(0x1E, 0x9E, 0x2C));
            break;
        case LinkActivity::NoAnswer: {
            const QColor red(0xD8, 0x22, 0x1A);
            p.setPen(QPen(red, 1.5, Qt::DashLine));
            p.drawLine(QPointF(23.0, 16.0), QPointF(39.0, 16.0));
            p.setPen(QPen(red, 2.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(27.5, 11.5), QPointF(34.5, 20.5));
            p.drawLine(QPointF(34.5, 11.5), QPointF(27.5, 20.5));
            break;
        }
    }
    p.restore();
}

void MotorPicture(QPainter& p, QSize size) {
    constexpr qreal kWidth = 96.0;
    constexpr qreal kHeight = 48.0;
    BeginDesign(p, size, kWidth, kHeight);

    const QColor metal(0x5E, 0x76, 0x8E);
    const auto shaded = [](const QRectF& r, const QColor& c) {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0.0, c.lighter(150));
        g.setColorAt(0.35, c.lighter(115));
        g.setColorAt(1.0, c.darker(150));
        return g;
    };
    p.setPen(QPen(kOutline, 1.0));

    // Feet.
    p.setBrush(QColor(0x44, 0x50, 0x5C));
    p.drawPolygon(QPolygonF{{26.5, 38.0}, {66.5, 38.0}, {71.5, 45.5}, {21.5, 45.5}});
    // Shaft.
    const QRectF shaft(74.0, 21.5, 19.0, 6.0);
    p.setBrush(shaded(shaft, QColor(0xA8, 0xAE, 0xB4)));
    p.drawRect(shaft);
    // Terminal box.
    const QRectF box(37.5, 4.5, 19.0, 8.0);
    p.setBrush(shaded(box, metal));
    p.drawRoundedRect(box, 1.5, 1.5);
    // Body with its cooling fins.
    const QRectF body(20.5, 11.5, 53.0, 27.0);
    p.setBrush(shaded(body, metal));
    p.drawRoundedRect(body, 3.0, 3.0);
    p.setPen(QPen(QColor(0x2E, 0x3A, 0x46, 110), 1.0));
    for (qreal x = 25.5; x < body.right() - 3.0; x += 4.0) {
        p.drawLine(QPointF(x, body.top() + 2.0), QPointF(x, body.bottom() - 2.0));
    }
    // Fan cover at the back, with its grille.
    p.setPen(QPen(kOutline, 1.0));
    const QRectF fan(9.5, 13.5, 12.0, 23.0);
    p.setBrush(shaded(fan, metal.darker(125)));
    p.drawRoundedRect(fan, 3.0, 3.0);
    p.setPen(QPen(QColor(0x1E, 0x26, 0x2E), 1.0));
    for (qreal y = 17.5; y < fan.bottom() - 2.0; y += 3.0) {
        p.drawLine(QPointF(fan.left() + 2.5, y), QPointF(fan.right() - 2.5, y));
    }
    // Front flange.
    p.setPen(QPen(kOutline, 1.0));
    const QRectF flange(72.5, 13.5, 3.0, 23.0);
    p.setBrush(shaded(flange, metal.darker(115)));
    p.drawRect(flange);
    p.restore();
}

void ClockPicture(QPainter& p, QSize size) {
    constexpr qreal kSide = 24.0;
    BeginDesign(p, size, kSide, kSide);
    const QPointF centre(12.0, 12.0);

    QRadialGradient face(centre, 11.0, QPointF(9.0, 8.0));
    face.setColorAt(0.0, Qt::white);
    face.setColorAt(1.0, QColor(0xD6, 0xDC, 0xE2));
    p.setPen(QPen(QColor(0x2B, 0x4A, 0x6E), 1.6));
    p.setBrush(face);
    p.drawEllipse(centre, 10.6, 10.6);

    p.setPen(QPen(kOutline, 1.0, Qt::SolidLine, Qt::RoundCap));
    for (int hour = 0; hour < 12; ++hour) {
        const qreal a = qDegreesToRadians(hour * 30.0);
        const qreal inner = hour % 3 == 0 ? 6.8 : 7.9;
        p.drawLine(centre + QPointF(qSin(a), -qCos(a)) * inner, centre + QPointF(qSin(a), -qCos(a)) * 9.0);
    }
    // Ten past ten.
    const auto hand = [&](qreal degrees, qreal length, qreal width, const QColor& color) {
        const qreal a = qDegreesToRadians(degrees);
        p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(centre, centre + QPointF(qSin(a), -qCos(a)) * length);
    };
    hand(305.0, 5.2, 1.8, kOutline);
    hand(60.0, 7.6, 1.3, kOutline);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xD8, 0x22, 0x1A));
    p.drawEllipse(centre, 1.4, 1.4);
    p.restore();
}

void GlobePicture(QPainter& p, QSize size) {
    constexpr qreal kSide = 48.0;
    constexpr qreal kRadius = 21.5;
    BeginDesign(p, size, kSide, kSide);
    const QPointF centre(24.0, 24.0);

    QRadialGradient sea(centre, kRadius, centre - QPointF(7.0, 8.0));
    sea.setColorAt(0.0, QColor(0x9C, 0xD4, 0xF6));
    sea.setColorAt(0.55, QColor(0x3A, 0x86, 0xCF));
    sea.setColorAt(1.0, QColor(0x1A, 0x4C, 0x8C));
    p.setPen(QPen(QColor(0x15, 0x3A, 0x6A), 1.2));
    p.setBrush(sea);
    p.drawEllipse(centre, kRadius, kRadius);

    // Meridians as ellipses through the poles, parallels as chords.
    QPainterPath clip;
    clip.addEllipse(centre, kRadius, kRadius);
    p.setClipPath(clip);
    p.setPen(QPen(QColor(255, 255, 255, 170), 1.2));
    p.setBrush(Qt::NoBrush);
    for (const qreal fraction : {0.0, 0.5, 0.87}) {
        p.drawEllipse(centre, kRadius * fraction, kRadius);
    }
    for (const qreal latitude : {-60.0, -30.0, 0.0, 30.0, 60.0}) {
        const qreal y = centre.y() - kRadius * qSin(qDegreesToRadians(latitude));
        const qreal half = kRadius * qCos(qDegreesToRadians(latitude));
        p.drawLine(QPointF(centre.x() - half, y), QPointF(centre.x() + half, y));
    }
    p.restore();
}

}  // namespace qav::panel::paint

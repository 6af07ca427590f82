#include "plate_images.h"

#include <QPainterPath>
#include <QPolygonF>

#include "image_paint.h"

namespace qav::panel::paint {

namespace {

struct PlateColors {
    QColor face;
    QColor text;
};

PlateColors ColorsOf(PlateLight light) {
    switch (light) {
        case PlateLight::Red:
            return {QColor(0xD3, 0x23, 0x1B), Qt::white};
        case PlateLight::Amber:
            return {QColor(0xF0, 0xB4, 0x22), QColor(0x3A, 0x2A, 0x00)};
        case PlateLight::Green:
            return {QColor(0x2F, 0xA6, 0x3A), Qt::white};
        case PlateLight::Orange:
            return {QColor(0xEC, 0x78, 0x1C), Qt::white};
        case PlateLight::Blue:
            return {QColor(0x2B, 0x5C, 0x93), Qt::white};
        case PlateLight::Off:
            break;
    }
    // Unlit: a grey plate whose lettering is still readable, so the operator knows what would light.
    return {QColor(0xA6, 0xAB, 0xAA), QColor(0x5A, 0x60, 0x5F)};
}

QRectF Inner(QSize size, qreal margin) {
    return QRectF(margin, 0.0, size.width() - 2.0 * margin, size.height());
}

// The symbols of the button faces, in a square `box`.
void PlaySymbol(QPainter& p, const QRectF& box, const QColor& color) {
    const QPolygonF triangle{box.topLeft(), QPointF(box.right(), box.center().y()), box.bottomLeft()};
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(triangle);
}

void StopSymbol(QPainter& p, const QRectF& box, const QColor& color) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawRect(box);
}

// A circular arrow: three quarters of a ring ending in a head, as on "reset" keys.
void ResetSymbol(QPainter& p, const QRectF& box, const QColor& color) {
    const qreal pen = box.width() / 5.0;
    const QRectF ring = box.adjusted(pen, pen, -pen, -pen);
    p.setPen(QPen(color, pen, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(ring, 90 * 16, 270 * 16);
    // The head sits at the top of the ring and points right, where the arc begins.
    const QPointF tip(ring.center().x() + pen * 1.6, ring.top());
    const QPolygonF head{tip, QPointF(ring.center().x(), ring.top() - pen * 1.4),
                         QPointF(ring.center().x(), ring.top() + pen * 1.4)};
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(head);
}

}  // namespace

void LetteredPlate(QPainter& p, QSize size, const QString& text, PlateLight light, int textPixels) {
    const PlateColors colors = ColorsOf(light);
    Plate(p, QRectF(QPointF(0, 0), size), colors.face, 3.0);
    FittedText(p, Inner(size, 3.0), text, colors.text, textPixels);
}

void AlarmBanner(QPainter& p, QSize size, bool bright) {
    // Dimmed, the banner is the same plate unlit: dark red with muted lettering.
    const QColor face = bright ? QColor(0xE0, 0x22, 0x1A) : QColor(0x74, 0x3A, 0x36);
    const QColor text = bright ? QColor(Qt::white) : QColor(0xB8, 0x8E, 0x8A);
    Plate(p, QRectF(QPointF(0, 0), size), face, 3.0);
    FittedText(p, Inner(size, 6.0), QStringLiteral("АВАРИЯ"), text, size.height() * 13 / 20);
}

void ButtonImage(QPainter& p, QSize size, ButtonFace face) {
    PlateColors colors;
    QString text;
    void (*symbol)(QPainter&, const QRectF&, const QColor&) = nullptr;
    switch (face) {
        case ButtonFace::Start:
            colors = ColorsOf(PlateLight::Green);
            text = QStringLiteral("ПУСК");
            symbol = PlaySymbol;
            break;
        case ButtonFace::Stop:
            colors = ColorsOf(PlateLight::Red);
            text = QStringLiteral("СТОП");
            symbol = StopSymbol;
            break;
        case ButtonFace::AlarmReset:
            colors = ColorsOf(PlateLight::Amber);
            text = QStringLiteral("Сброс аварий");
            symbol = ResetSymbol;
            break;
    }
    Plate(p, QRectF(QPointF(0, 0), size), colors.face, 3.0);
    const qreal side = size.height() * 0.4;
    const QRectF symbolBox(4.0, (size.height() - side) / 2.0, side, side);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    symbol(p, symbolBox, colors.text);
    p.restore();
    const qreal textLeft = symbolBox.right() + 2.0;
    FittedText(p, QRectF(textLeft, 0.0, size.width() - textLeft - 2.0, size.height()), text, colors.text,
               size.height() * 11 / 20);
}

}  // namespace qav::panel::paint

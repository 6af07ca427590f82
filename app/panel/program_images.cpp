#include "program_images.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

#include "image_paint.h"

namespace qav::panel::paint {

namespace {

const QColor kDeepBlue(0x1B, 0x3F, 0x6B);
const QColor kBlue(0x2E, 0x6C, 0xB0);

// One period of a sine across `width`, centred on `centre`.
QPainterPath SineWave(QPointF centre, qreal width, qreal amplitude, qreal phaseDegrees = 0.0,
                      qreal periods = 1.0) {
    QPainterPath wave;
    constexpr int kSteps = 48;
    for (int i = 0; i <= kSteps; ++i) {
        const qreal t = static_cast<qreal>(i) / kSteps;
        const qreal a = qDegreesToRadians(360.0 * periods * t + phaseDegrees);
        const QPointF point(centre.x() - width / 2.0 + width * t, centre.y() - amplitude * qSin(a));
        if (i == 0) {
            wave.moveTo(point);
        } else {
            wave.lineTo(point);
        }
    }
    return wave;
}

// The motor symbol: a ring with a bold M over a short sine.
void MotorSymbol(QPainter& p, QPointF centre, qreal radius, const QColor& color) {
    p.setPen(QPen(color, radius * 0.16));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius, radius);
    const int letter = static_cast<int>(radius * 0.95);
    p.setFont(PictureFont(letter, true));
    p.setPen(color);
    p.drawText(QRectF(centre.x() - radius, centre.y() - radius * 0.78, 2.0 * radius, radius * 1.1),
               Qt::AlignCenter, QStringLiteral("M"));
    p.setPen(QPen(color, radius * 0.11, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(SineWave(centre + QPointF(0.0, radius * 0.52), radius * 0.9, radius * 0.16));
}

void Cylinder(QPainter& p, const QRectF& box) {
    const qreal cap = box.height() * 0.28;
    QLinearGradient side(box.topLeft(), box.topRight());
    side.setColorAt(0.0, QColor(0x5C, 0x9C, 0xE0));
    side.setColorAt(0.5, QColor(0x3A, 0x7C, 0xC8));
    side.setColorAt(1.0, QColor(0x1E, 0x4F, 0x8F));
    QPainterPath body;
    body.moveTo(box.left(), box.top() + cap / 2.0);
    body.lineTo(box.left(), box.bottom() - cap / 2.0);
    body.arcTo(QRectF(box.left(), box.bottom() - cap, box.width(), cap), 180.0, 180.0);
    body.lineTo(box.right(), box.top() + cap / 2.0);
    body.closeSubpath();
    p.setPen(QPen(QColor(0x14, 0x32, 0x5C), 1.0));
    p.setBrush(side);
    p.drawPath(body);
    // Two bands where the stacked discs meet.
    p.setBrush(Qt::NoBrush);
    for (const qreal level : {1.0 / 3.0, 2.0 / 3.0}) {
        const qreal y = box.top() + (box.height() - cap) * level;
        p.drawArc(QRectF(box.left(), y, box.width(), cap), 180 * 16, 180 * 16);
    }
    p.setBrush(QColor(0x9C, 0xC8, 0xF2));
    p.drawEllipse(QRectF(box.left(), box.top(), box.width(), cap));
}

}  // namespace

void WindowIconPicture(QPainter& p, QSize size) {
    constexpr qreal kSide = 64.0;
    BeginDesign(p, size, kSide, kSide);
    QLinearGradient back(0.0, 0.0, 0.0, kSide);
    back.setColorAt(0.0, kBlue.lighter(115));
    back.setColorAt(1.0, kDeepBlue);
    p.setPen(QPen(kDeepBlue.darker(130), 2.0));
    p.setBrush(back);
    p.drawRoundedRect(QRectF(2.0, 2.0, 60.0, 60.0), 12.0, 12.0);
    MotorSymbol(p, QPointF(32.0, 32.0), 21.0, Qt::white);
    p.restore();
}

void TrayPicture(QPainter& p, QSize size, TrayBadge badge) {
    constexpr qreal kSide = 16.0;
    BeginDesign(p, size, kSide, kSide);
    Cylinder(p, QRectF(1.5, 0.5, 11.0, 14.5));
    switch (badge) {
        case TrayBadge::None:
            break;
        case TrayBadge::Recording:
            p.setPen(QPen(Qt::white, 1.0));
            p.setBrush(QColor(0xE0, 0x22, 0x1A));
            p.drawEllipse(QPointF(11.8, 11.8), 3.6, 3.6);
            break;
        case TrayBadge::Warning: {
            const QPolygonF triangle{{11.5, 5.8}, {15.7, 15.5}, {7.3, 15.5}};
            p.setPen(QPen(QColor(0x5A, 0x40, 0x00), 0.8));
            p.setBrush(QColor(0xFF, 0xC8, 0x1E));
            p.drawPolygon(triangle);
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::black);
            p.drawRect(QRectF(11.0, 8.6, 1.0, 3.9));
            p.drawRect(QRectF(11.0, 13.3, 1.0, 1.1));
            break;
        }
    }
    p.restore();
}

void SplashPicture(QPainter& p, QSize size) {
    constexpr qreal kWidth = 500.0;
    constexpr qreal kHeight = 190.0;
    BeginDesign(p, size, kWidth, kHeight);

    QLinearGradient back(0.0, 0.0, 0.0, kHeight);
    back.setColorAt(0.0, QColor(0x2A, 0x55, 0x86));
    back.setColorAt(1.0, QColor(0x12, 0x29, 0x44));
    p.fillRect(QRectF(0.0, 0.0, kWidth, kHeight), back);

    // The three phases, faint, along the bottom: yellow, green and red as on the bus bars.
    const QColor phases[] = {QColor(0xF2, 0xC8, 0x1E, 70), QColor(0x3C, 0xC0, 0x50, 70),
                             QColor(0xE0, 0x40, 0x30, 70)};
    for (int k = 0; k < 3; ++k) {
        p.setPen(QPen(phases[k], 2.0));
        p.drawPath(SineWave(QPointF(kWidth / 2.0, 160.0), kWidth, 14.0, 120.0 * k, 3.0));
    }

    MotorSymbol(p, QPointF(88.0, 80.0), 50.0, Qt::white);

    p.setPen(Qt::white);
    p.setFont(PictureFont(26, false));
    p.drawText(QRectF(165.0, 28.0, 320.0, 34.0), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Панель управления"));
    p.setFont(PictureFont(44, true));
    p.drawText(QRectF(165.0, 60.0, 320.0, 52.0), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("КАВ-510"));
    p.setPen(QPen(QColor(0xF2, 0xC8, 0x1E), 2.0));
    p.drawLine(QPointF(167.0, 116.0), QPointF(470.0, 116.0));
    p.setPen(QColor(0xC8, 0xDA, 0xEE));
    p.setFont(PictureFont(13, false));
    p.drawText(QRectF(167.0, 122.0, 310.0, 22.0), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Загрузка программы, подождите…"));
    p.restore();
}

void AboutPicture(QPainter& p, QSize size) {
    constexpr qreal kWidth = 120.0;
    constexpr qreal kHeight = 160.0;
    BeginDesign(p, size, kWidth, kHeight);
    const QColor outline(0x2E, 0x3A, 0x46);

    // Case.
    const QRectF front(8.5, 4.5, 103.0, 151.0);
    QLinearGradient metal(front.topLeft(), front.topRight());
    metal.setColorAt(0.0, QColor(0xE6, 0xE9, 0xEC));
    metal.setColorAt(1.0, QColor(0xB4, 0xBB, 0xC2));
    p.setPen(QPen(outline, 1.0));
    p.setBrush(metal);
    p.drawRoundedRect(front, 5.0, 5.0);

    // Name strip.
    p.setBrush(kDeepBlue);
    p.drawRoundedRect(QRectF(14.5, 10.5, 91.0, 20.0), 2.0, 2.0);
    FittedText(p, QRectF(16.0, 10.5, 88.0, 20.0), QStringLiteral("КАВ-510"), Qt::white, 13);

    // Display.
    p.setPen(QPen(outline, 1.0));
    p.setBrush(QColor(0x1C, 0x36, 0x28));
    p.drawRoundedRect(QRectF(18.5, 38.5, 83.0, 30.0), 2.0, 2.0);
    p.setPen(QColor(0x7C, 0xF0, 0x8A));
    p.setFont(PictureFont(14, true));
    p.drawText(QRectF(18.5, 38.5, 83.0, 30.0), Qt::AlignCenter, QStringLiteral("50.0 Гц"));

    // Lamps: two green, amber, red.
    const QColor lamps[] = {QColor(0x2F, 0xC0, 0x3A), QColor(0x2F, 0xC0, 0x3A), QColor(0xF0, 0xB4, 0x22),
                            QColor(0xD8, 0x22, 0x1A)};
    for (int i = 0; i < 4; ++i) {
        p.setPen(QPen(outline, 0.8));
        p.setBrush(lamps[i]);
        p.drawEllipse(QPointF(27.0 + 22.0 * i, 80.0), 3.6, 3.6);
    }

    // Keys.
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QRectF key(22.5 + 27.0 * col, 92.5 + 18.0 * row, 21.0, 12.0);
            QLinearGradient face(key.topLeft(), key.bottomLeft());
            face.setColorAt(0.0, QColor(0x8A, 0x96, 0xA2));
            face.setColorAt(1.0, QColor(0x4E, 0x5A, 0x66));
            p.setPen(QPen(outline, 1.0));
            p.setBrush(face);
            p.drawRoundedRect(key, 2.0, 2.0);
        }
    }

    // Terminal screws along the bottom.
    for (int i = 0; i < 8; ++i) {
        const QPointF screw(20.0 + 11.5 * i, 140.0);
        p.setPen(QPen(outline, 0.8));
        p.setBrush(QColor(0xC8, 0xA2, 0x4A));
        p.drawEllipse(screw, 3.4, 3.4);
        p.drawLine(screw - QPointF(2.0, 0.0), screw + QPointF(2.0, 0.0));
    }
    p.restore();
}

}  // namespace qav::panel::paint

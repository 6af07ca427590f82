#include "lamp_icon.h"

#include <QIconEngine>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>

namespace qav::controls {

namespace {

QColor BaseColor(LampColor color) {
    switch (color) {
        case LampColor::Green:
            return QColor(0x22, 0xC0, 0x2A);
        case LampColor::Red:
            return QColor(0xE0, 0x24, 0x1C);
        case LampColor::Yellow:
            return QColor(0xF2, 0xCC, 0x1A);
        case LampColor::Dark:
            break;
    }
    return QColor(0x7C, 0x80, 0x7E);
}

class LampEngine : public QIconEngine {
public:
    explicit LampEngine(LampColor color) : color_(color) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        const qreal side = std::min(rect.width(), rect.height());
        const qreal rim = std::max(1.0, side / 16.0);
        // The rim's pen is centred on the outline: inset by half of it so that it stays inside the image.
        const qreal diameter = side - rim;
        const QRectF disc(rect.x() + (rect.width() - diameter) / 2.0,
                          rect.y() + (rect.height() - diameter) / 2.0, diameter, diameter);
        const QColor base = BaseColor(color_);
        // Light falls from the upper left: a bright spot there, the rim in shadow.
        QRadialGradient glow(disc.center(), diameter / 2.0,
                             disc.topLeft() + QPointF(side * 0.35, side * 0.3));
        glow.setColorAt(0.0, base.lighter(color_ == LampColor::Dark ? 130 : 175));
        glow.setColorAt(0.6, base);
        glow.setColorAt(1.0, base.darker(150));

        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(base.darker(240), rim));
        painter->setBrush(glow);
        painter->drawEllipse(disc);
        painter->restore();
    }

    QIconEngine* clone() const override { return new LampEngine(color_); }

private:
    LampColor color_;
};

}  // namespace

QIcon LampIcon(LampColor color) {
    return QIcon(new LampEngine(color));
}

}  // namespace qav::controls

#include "image_paint.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QStringList>
#include <algorithm>

namespace qav::panel::paint {

void BeginDesign(QPainter& p, QSize size, qreal width, qreal height) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / width, size.height() / height);
}

namespace {

constexpr int kSmallestPixels = 6;
// Narrowing beyond this makes Cyrillic capitals hard to tell apart.
constexpr int kNarrowestStretch = 82;

}  // namespace

QFont PictureFont(int pixelSize, bool bold) {
    QFont font;
    font.setFamilies(
        {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"), QStringLiteral("Noto Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void Plate(QPainter& p, const QRectF& box, const QColor& face, qreal radius) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient light(box.topLeft(), box.bottomLeft());
    light.setColorAt(0.0, face.lighter(140));
    light.setColorAt(0.45, face);
    light.setColorAt(1.0, face.darker(125));
    p.setPen(QPen(face.darker(175), 1.0));
    p.setBrush(light);
    // The edge's pen is centred on the outline: inset by half of it so that it stays inside the box.
    p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.restore();
}

int FittedText(QPainter& p, const QRectF& box, const QString& text, const QColor& color, int maxPixels) {
    QFont font = PictureFont(maxPixels, true);
    const auto fits = [&] { return QFontMetricsF(font).horizontalAdvance(text) <= box.width(); };
    for (int pixels = maxPixels; pixels >= kSmallestPixels; --pixels) {
        font.setPixelSize(pixels);
        font.setStretch(QFont::Unstretched);
        if (fits()) {
            break;
        }
        // The face may come in a condensed cut rather than be narrowed evenly: measure again.
        const qreal full = QFontMetricsF(font).horizontalAdvance(text);
        font.setStretch(std::max(kNarrowestStretch, static_cast<int>(100.0 * box.width() / full)));
        if (fits()) {
            break;
        }
    }
    p.save();
    p.setFont(font);
    p.setPen(color);
    p.drawText(box, Qt::AlignCenter, text);
    p.restore();
    return font.pixelSize();
}

}  // namespace qav::panel::paint

// Drawing helpers shared by the program's pictures: plates lit from above and bold text fitted into a box.
// All coordinates are the picture's own design pixels; the caller's painter scales them to the device.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QSize>
#include <QString>

namespace qav::panel::paint {

// Saves the painter's state and scales it so that a picture designed `width` x `height` fills `size`,
// smoothed; the caller restores the painter when done.
void BeginDesign(QPainter& p, QSize size, qreal width, qreal height);

// The sans-serif face of every picture, so that they look alike whatever the desktop's font is.
QFont PictureFont(int pixelSize, bool bold);

// A rounded plate in `face`: lighter at the top, darker at the bottom, with a darker edge.
void Plate(QPainter& p, const QRectF& box, const QColor& face, qreal radius);

// `text` centred in `box` in bold, at the largest pixel size from `maxPixels` down at which it fits; a long
// text is narrowed before it is made smaller. Returns the pixel size used.
int FittedText(QPainter& p, const QRectF& box, const QString& text, const QColor& color, int maxPixels);

}  // namespace qav::panel::paint

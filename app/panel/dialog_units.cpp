#include "dialog_units.h"

#include <QFontMetrics>
#include <QString>
#include <cmath>

namespace qav::panel {

namespace {

int Scaled(int units, int base, int divisor) {
    return static_cast<int>(std::lround(static_cast<double>(units) * base / divisor));
}

}  // namespace

DialogBase DialogBaseOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

QRect MapDialogRect(const QRect& units, DialogBase base) {
    const int left = Scaled(units.x(), base.x, 4);
    const int top = Scaled(units.y(), base.y, 8);
    const int right = Scaled(units.x() + units.width(), base.x, 4);
    const int bottom = Scaled(units.y() + units.height(), base.y, 8);
    return QRect(left, top, right - left, bottom - top);
}

QSize MapDialogSize(const QSize& units, DialogBase base) {
    return MapDialogRect(QRect(QPoint(0, 0), units), base).size();
}

}  // namespace qav::panel

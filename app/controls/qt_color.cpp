#include "qt_color.h"

namespace qav::controls {

QColor FromColorRef(ColorRef color) {
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

ColorRef ToColorRef(const QColor& color) {
    const QColor rgb = color.toRgb();
    return MakeColorRef(rgb.red(), rgb.green(), rgb.blue());
}

}  // namespace qav::controls

// Conversions between the stored 0x00BBGGRR colours and Qt's colours.
#pragma once

#include <QColor>

#include "color_ref.h"

namespace qav::controls {

// Opaque; the unused high byte is ignored.
QColor FromColorRef(ColorRef color);
// The colour's red, green and blue (alpha is dropped).
ColorRef ToColorRef(const QColor& color);

}  // namespace qav::controls

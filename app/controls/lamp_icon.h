// Round indicator lamps drawn as vectors, sharp at any size and screen density.
#pragma once

#include <QIcon>

namespace qav::controls {

enum class LampColor { Green, Red, Yellow, Dark };

// A lit lamp in `color`, or the unlit lamp for LampColor::Dark.
QIcon LampIcon(LampColor color);

}  // namespace qav::controls

// An image of a control with the size it is drawn at, in device-independent pixels.
#pragma once

#include <QIcon>
#include <QSize>

namespace qav::controls {

struct IconImage {
    QIcon icon;
    QSize size;
    bool IsNull() const { return icon.isNull(); }
};

}  // namespace qav::controls

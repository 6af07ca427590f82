// Dialog units: positions and sizes that follow the dialog font, as dialog templates state them. One
// horizontal unit is a quarter of the font's average character width and one vertical unit an eighth of its
// height, so a layout drawn for one font keeps its proportions with another.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace qav::panel {

// The font's average character width and height in pixels.
struct DialogBase {
    int x = 0;
    int y = 0;
    bool operator==(const DialogBase&) const = default;
};

// The average width is taken over the 52 Latin letters, rounded to the nearest pixel, as dialog managers do.
DialogBase DialogBaseOf(const QFont& font);

// A rectangle in dialog units to pixels: each edge is converted and rounded on its own, so neighbouring
// rectangles stay neighbours.
QRect MapDialogRect(const QRect& units, DialogBase base);
QSize MapDialogSize(const QSize& units, DialogBase base);

}  // namespace qav::panel

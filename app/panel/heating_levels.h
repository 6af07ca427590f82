// The heating chart's arithmetic: where a heating value puts the column top, the colour of each row of a
// column, the 66 % line, the time markers and the tooltip percentage of a pointer height.
#pragma once

#include <QString>
#include <cstdint>

#include "color_ref.h"

namespace qav::panel {

using controls::ColorRef;

constexpr int kChartTop = 30;                   // pixel row of 100 %
constexpr uint32_t kFullScale = 1'100'000;      // raw heating units of 100 %
constexpr uint32_t kHeatingClamp = 11'000'000;  // 1000 %

constexpr ColorRef kChartBackground = 0xCEE8E8;
constexpr ColorRef kLine100Color = 0x030098;
constexpr ColorRef kLine66Color = 0xBF0012;
constexpr ColorRef kMarkerColor = 0x0000FF;
constexpr ColorRef kColumnTopColor = 0x0000FF;     // red at row 0
constexpr ColorRef kColumnMiddleColor = 0x0067FF;  // orange at the 100 % row
constexpr ColorRef kColumnBottomColor = 0xB76208;  // blue at the bottom

// Per cent of the trip level: raw (clamped to 1000 %) x 100 / 1 100 000.
int HeatingPercent(uint32_t raw);
// Pixel row of the column top on a chart `height` pixels high: `height` at 0 %, 30 at 100 %, negative far
// above 100 %.
int HeatingLevel(uint32_t raw, int height);
// Pixel row of the 66 % line.
int Line66Row(int height);

// a + (b - a) x c / d per channel, the fraction in single precision, truncated; `a` when d is not positive.
ColorRef Blend(ColorRef a, ColorRef b, int c, int d);
// Colour of `row` in a column: red to orange above the 100 % row, orange to blue below it.
ColorRef ColumnColor(int row, int height);

// Heating per cent the tooltip shows for the pointer at `y` (chart pixels, from the top), read 4 pixels below
// the pointer's row; 0 on a chart too low to have a scale.
int TooltipPercent(int y, int height);
QString TooltipText(int percent);

// Every scroll step asks whether to draw a time marker: on the first step, then every width - 3 steps.
class TimeMarkers {
public:
    bool Step(int width);

private:
    int countdown_ = 0;
};

}  // namespace qav::panel

// The bar graph's rules without painting: range and scale (pixels per range unit), two threshold marks,
// the zone colour of the bar and where the segments and mark lines go.
#pragma once

#include <vector>

#include "color_ref.h"

namespace qav::controls {

// Columns [x1, x2) over the full height, filled with the three-point gradient of `color`.
struct BarSegment {
    int x1 = 0;
    int x2 = 0;
    ColorRef color = 0;
    bool operator==(const BarSegment&) const = default;
};

// A one-pixel vertical line over the full height.
struct MarkLine {
    int x = 0;
    ColorRef color = 0;
    bool operator==(const MarkLine&) const = default;
};

struct BarPicture {
    ColorRef background = 0;
    std::vector<BarSegment> segments;
    std::vector<MarkLine> lines;  // the lower mark's first
};

// A segment is darkest at its top and bottom edges and brightest at half the height, which makes it look
// round.
struct SegmentGradient {
    ColorRef edge = 0;    // each channel at 66 %
    ColorRef middle = 0;  // the colour itself
    bool operator==(const SegmentGradient&) const = default;
};
SegmentGradient GradientOf(ColorRef color);

class ProgressModel {
public:
    static constexpr ColorRef kBackground = 0xC1D1D0;  // light grey
    static constexpr ColorRef kNormal = 0x4BDB59;      // green
    static constexpr ColorRef kLow = 0x00FFFF;         // yellow
    static constexpr ColorRef kHigh = 0x00FFFF;        // yellow
    static constexpr ColorRef kMarkPen = 0x0000FF;     // red

    // The bar's width in pixels; the scale follows it. True when the picture changed.
    bool SetWidth(int width);

    // Nothing happens when `maximum` equals the current maximum (the minimum is not compared), so callers may
    // repeat the range cheaply. Scale = factor x width / (maximum - minimum); an empty or reversed range
    // scales to 0 and shows no bar. True when the range was taken.
    bool SetRange(int minimum, int maximum, int factor = 1);

    // Threshold values in range units, 0 for no mark. True unless both equal the current marks.
    bool SetMarks(int upper, int lower);

    // True unless `value` is the current position.
    bool SetPos(int value);

    // Colour of the bar above the upper mark; returns the previous one.
    ColorRef SetHighColor(ColorRef color);

    int Width() const { return width_; }
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    int Pos() const { return pos_; }
    int UpperMark() const { return upper_; }
    int LowerMark() const { return lower_; }
    ColorRef HighColor() const { return high_; }
    float Scale() const { return scale_; }

    // Pixel column of a value: (value - minimum) x scale, truncated.
    int ToPixel(int value) const;

    BarPicture Picture() const;

private:
    void UpdateScale();

    int width_ = 0;
    int minimum_ = 0;
    int maximum_ = 100;
    int factor_ = 1;
    float scale_ = 0.0f;
    int pos_ = 0;
    int upper_ = 0;
    int lower_ = 0;
    ColorRef high_ = kHigh;
};

}  // namespace qav::controls

#include "progress_model.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace qav::controls {

SegmentGradient GradientOf(ColorRef color) {
    return {ScaleColorRef(color, 66, 100), color};
}

bool ProgressModel::SetWidth(int width) {
    width = std::max(width, 0);
    if (width == width_) {
        return false;
    }
    width_ = width;
    UpdateScale();
    return true;
}

bool ProgressModel::SetRange(int minimum, int maximum, int factor) {
    if (maximum == maximum_) {
        return false;
    }
    minimum_ = minimum;
    maximum_ = maximum;
    factor_ = factor;
    UpdateScale();
    return true;
}

bool ProgressModel::SetMarks(int upper, int lower) {
    if (upper == upper_ && lower == lower_) {
        return false;
    }
    upper_ = upper;
    lower_ = lower;
    return true;
}

bool ProgressModel::SetPos(int value) {
    if (value == pos_) {
        return false;
    }
    pos_ = value;
    return true;
}

ColorRef ProgressModel::SetHighColor(ColorRef color) {
    return std::exchange(high_, color);
}

void ProgressModel::UpdateScale() {
    const int64_t span = int64_t{maximum_} - minimum_;
    scale_ = span > 0 ? std::max(0.0f, static_cast<float>(factor_) * static_cast<float>(width_) /
                                           static_cast<float>(span))
                      : 0.0f;
}

int ProgressModel::ToPixel(int value) const {
    // Single precision on purpose: 0.4 x 200 must land on column 80, not just below it.
    const float pixel = static_cast<float>(int64_t{value} - minimum_) * scale_;
    // Far-off values only need to stay off the bar; the clamp keeps the conversion defined.
    return static_cast<int>(std::clamp(pixel, -1.0e9f, 1.0e9f));
}

BarPicture ProgressModel::Picture() const {
    BarPicture picture{kBackground, {}, {}};
    const auto add = [&](int x1, int x2, ColorRef color) {
        x1 = std::clamp(x1, 0, width_);
        x2 = std::clamp(x2, 0, width_);
        if (x1 < x2) {
            picture.segments.push_back({x1, x2, color});
        }
    };

    const int p = ToPixel(pos_);
    if (upper_ != 0 && lower_ != 0) {
        add(0, p, pos_ <= lower_ ? kLow : pos_ <= upper_ ? kNormal : high_);
    } else if (upper_ != 0) {
        if (pos_ <= upper_) {
            add(0, p, kNormal);
        } else {
            const int up = ToPixel(upper_);
            add(0, up, kNormal);
            add(up + 1, p, high_);
        }
    } else if (lower_ != 0) {
        add(0, p, pos_ <= lower_ ? kLow : kNormal);
    } else {
        add(0, p, kNormal);
    }

    if (lower_ != 0) {
        picture.lines.push_back({ToPixel(lower_), kMarkPen});
    }
    if (upper_ != 0) {
        picture.lines.push_back({ToPixel(upper_), kMarkPen});
    }
    return picture;
}

}  // namespace qav::controls

#include "heating_levels.h"

#include <algorithm>

namespace qav::panel {

using controls::BlueOf;
using controls::GreenOf;
using controls::MakeColorRef;
using controls::RedOf;

namespace {
uint32_t Clamped(uint32_t raw) {
    return std::min(raw, kHeatingClamp);
}
}  // namespace

int HeatingPercent(uint32_t raw) {
    return static_cast<int>(Clamped(raw) * 100u / kFullScale);
}

int HeatingLevel(uint32_t raw, int height) {
    // 64 bits: a tall chart times 11 000 000 no longer fits in 32.
    const int64_t rise = int64_t{height - kChartTop} * Clamped(raw) / kFullScale;
    return static_cast<int>(height - rise);
}

int Line66Row(int height) {
    return height - (height - kChartTop) * 66 / 100;
}

ColorRef Blend(ColorRef a, ColorRef b, int c, int d) {
    if (d <= 0) {
        return a;
    }
    const float fraction = static_cast<float>(c) / static_cast<float>(d);
    const auto channel = [fraction](int from, int to) {
        const int value =
            static_cast<int>(static_cast<float>(from) + static_cast<float>(to - from) * fraction);
        return std::clamp(value, 0, 255);
    };
    return MakeColorRef(channel(RedOf(a), RedOf(b)), channel(GreenOf(a), GreenOf(b)),
                        channel(BlueOf(a), BlueOf(b)));
}

ColorRef ColumnColor(int row, int height) {
    if (row < kChartTop) {
        return Blend(kColumnTopColor, kColumnMiddleColor, row, kChartTop);
    }
    return Blend(kColumnMiddleColor, kColumnBottomColor, row - kChartTop, height - kChartTop);
}

int TooltipPercent(int y, int height) {
    const int span = height - kChartTop;
    if (span <= 0) {
        return 0;
    }
    return (height - y + 4) * 100 / span;
}

QString TooltipText(int percent) {
    return QStringLiteral("Нагрев - %1%").arg(percent);
}

bool TimeMarkers::Step(int width) {
    if (countdown_ > 0) {
        --countdown_;
    }
    if (countdown_ != 0) {
        return false;
    }
    countdown_ = width - 3;
    return true;
}

}  // namespace qav::panel

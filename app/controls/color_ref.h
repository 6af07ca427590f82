// Colours as the settings record and the panel's tables store them: 0x00BBGGRR, red in the low byte.
#pragma once

#include <cstdint>

namespace qav::controls {

using ColorRef = std::uint32_t;

constexpr ColorRef MakeColorRef(int red, int green, int blue) {
    return static_cast<ColorRef>(red & 0xFF) | static_cast<ColorRef>(green & 0xFF) << 8 |
           static_cast<ColorRef>(blue & 0xFF) << 16;
}

constexpr int RedOf(ColorRef c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(ColorRef c) {
    return static_cast<int>(c >> 8 & 0xFF);
}
constexpr int BlueOf(ColorRef c) {
    return static_cast<int>(c >> 16 & 0xFF);
}

// Each channel times numerator / denominator, in integers (denominator > 0).
constexpr ColorRef ScaleColorRef(ColorRef c, int numerator, int denominator) {
    return MakeColorRef(RedOf(c) * numerator / denominator, GreenOf(c) * numerator / denominator,
                        BlueOf(c) * numerator / denominator);
}

}  // namespace qav::controls

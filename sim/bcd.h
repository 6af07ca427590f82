// Packed BCD, the relay's encoding of clock fields and journal time stamps.
#pragma once

#include <cstdint>
#include <optional>

namespace qav::sim {

// Four decimal digits, one per nibble: 59 is 0x0059.
constexpr uint16_t ToBcd(unsigned n) {
    return static_cast<uint16_t>(n % 10 | (n / 10 % 10) << 4 | (n / 100 % 10) << 8 | (n / 1000 % 10) << 12);
}

// Empty when a nibble is not a decimal digit.
constexpr std::optional<unsigned> FromBcd(uint16_t word) {
    unsigned n = 0;
    for (int shift = 12; shift >= 0; shift -= 4) {
        const unsigned digit = word >> shift & 0xFu;
        if (digit > 9) {
            return std::nullopt;
        }
        n = n * 10 + digit;
    }
    return n;
}

}  // namespace qav::sim

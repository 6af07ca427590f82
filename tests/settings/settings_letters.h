// Reading the stored letters back by hand, independently of the code under test.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qav::settings::test {

// The byte at `offset` of the record behind `letters`: second letter the high four bits, first the low.
inline unsigned ByteAt(std::string_view letters, std::size_t offset) {
    return static_cast<unsigned>(letters[2 * offset + 1] - 'A') * 16 +
           static_cast<unsigned>(letters[2 * offset] - 'A');
}

inline uint32_t WordAt(std::string_view letters, std::size_t offset) {
    uint32_t word = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        word |= static_cast<uint32_t>(ByteAt(letters, offset + i)) << (8 * i);
    }
    return word;
}

// The letters of a byte image, as another tool would write them.
inline std::string Letters(const std::vector<uint8_t>& bytes) {
    std::string letters;
    for (const uint8_t byte : bytes) {
        letters += static_cast<char>('A' + (byte & 0x0F));
        letters += static_cast<char>('A' + (byte >> 4));
    }
    return letters;
}

}  // namespace qav::settings::test

// The relay's alarm journal: a ring of 50 entries of five registers, newest index in register 75.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "relay_clock.h"

namespace qav::sim {

class Journal {
public:
    static constexpr std::size_t kEntries = 50;
    static constexpr std::size_t kEntryRegisters = 5;
    // What an entry that was never written reads: an alarm code of 40 or more ends the list for readers.
    static constexpr uint16_t kEmpty = 0xFFFF;

    Journal();

    void Append(uint16_t code, uint16_t value, const CivilTime& when);
    // Index of the newest entry; 0 while the journal is empty.
    uint16_t NewestIndex() const { return newest_; }
    std::size_t Count() const { return count_; }
    // Register `offset` (0 to 249) of the ring.
    uint16_t Register(std::size_t offset) const;

private:
    std::array<std::array<uint16_t, kEntryRegisters>, kEntries> entries_;
    uint16_t newest_ = 0;
    std::size_t count_ = 0;
};

}  // namespace qav::sim

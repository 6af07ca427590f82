#include "journal.h"

#include "bcd.h"

namespace qav::sim {
namespace {

// Two BCD bytes in one register: high byte first.
uint16_t BcdPair(unsigned high, unsigned low) {
    return static_cast<uint16_t>(ToBcd(high % 100) << 8 | ToBcd(low % 100));
}

}  // namespace

Journal::Journal() {
    for (auto& entry : entries_) {
        entry.fill(kEmpty);
    }
}

void Journal::Append(uint16_t code, uint16_t value, const CivilTime& when) {
    if (count_ > 0) {
        newest_ = static_cast<uint16_t>((newest_ + 1) % kEntries);
    }
    entries_[newest_] = {code, value, BcdPair(when.minute, when.second), BcdPair(when.day, when.hour),
                         BcdPair(when.year - 2000, when.month)};
    if (count_ < kEntries) {
        ++count_;
    }
}

uint16_t Journal::Register(std::size_t offset) const {
    return entries_[offset / kEntryRegisters % kEntries][offset % kEntryRegisters];
}

}  // namespace qav::sim

// Which alarms the alarm list shows, one mark per alarm row, and whether rows were added since the last
// clearing. Written by the poller and by the panel on the user-interface thread.
#pragma once

#include <atomic>
#include <bitset>
#include <cstdint>

namespace qav::monitor {

constexpr int kAlarmCount = 40;
using AlarmSet = std::bitset<kAlarmCount>;

class AlarmMarks {
public:
    // Marks alarm `index` as listed and sets the rows-added flag; 0 for an index above 39, else 1.
    int SetMark(int index);
    // Forgets alarm `index` without touching the rows-added flag.
    void ClearMark(int index);
    bool IsMarked(int index) const;
    // Forgets every alarm and the rows-added flag.
    void ClearMarks();
    bool HasMarks() const { return rowsAdded_.load(); }
    AlarmSet Marks() const { return AlarmSet(bits_.load()); }

private:
    std::atomic<uint64_t> bits_{0};
    std::atomic<bool> rowsAdded_{false};
};

}  // namespace qav::monitor

#include "alarm_marks.h"

namespace qav::monitor {

namespace {
bool Valid(int index) {
    return index >= 0 && index < kAlarmCount;
}
}  // namespace

int AlarmMarks::SetMark(int index) {
    if (!Valid(index)) {
        return 0;
    }
    bits_.fetch_or(uint64_t{1} << index);
    rowsAdded_.store(true);
    return 1;
}

void AlarmMarks::ClearMark(int index) {
    if (Valid(index)) {
        bits_.fetch_and(~(uint64_t{1} << index));
    }
}

bool AlarmMarks::IsMarked(int index) const {
    return Valid(index) && (bits_.load() >> index & 1u) != 0;
}

void AlarmMarks::ClearMarks() {
    bits_.store(0);
    rowsAdded_.store(false);
}

}  // namespace qav::monitor

#include "measure_array.h"

#include <cstring>

namespace qav::monitor {

void MeasureArray::SetMeasure(int index, int32_t value) {
    if (index < 0 || index >= kMeasureCount) {
        return;
    }
    std::lock_guard lock(mutex_);
    values_[static_cast<std::size_t>(index)] = value;
}

int32_t MeasureArray::GetMeasure(int index) const {
    if (index < 0 || index >= kMeasureCount) {
        return 0;
    }
    std::lock_guard lock(mutex_);
    return values_[static_cast<std::size_t>(index)];
}

void MeasureArray::ClearMeasures() {
    std::lock_guard lock(mutex_);
    values_.fill(0);
}

void MeasureArray::CopyMeasures(void* destination, std::size_t size) const {
    if (destination == nullptr || size < sizeof values_) {
        return;
    }
    std::lock_guard lock(mutex_);
    std::memcpy(destination, values_.data(), sizeof values_);
}

}  // namespace qav::monitor

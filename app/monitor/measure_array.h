// The live snapshot: one value per measurement row, shared by the poller, the recorder and the views.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>

namespace qav::monitor {

constexpr int kMeasureCount = 55;

class MeasureArray {
public:
    // An index outside 0..54 is ignored.
    void SetMeasure(int index, int32_t value);
    // An index outside 0..54 reads as 0.
    int32_t GetMeasure(int index) const;
    void ClearMeasures();
    // Copies all 220 bytes under one lock when `size` takes them, else does nothing.
    void CopyMeasures(void* destination, std::size_t size) const;

private:
    mutable std::mutex mutex_;
    std::array<int32_t, kMeasureCount> values_{};
};

}  // namespace qav::monitor

// A link operation that may take seconds (a connect, an identification, a write with retries) runs through
// this, so that a window can keep itself painted meanwhile. Without one it simply runs.
#pragma once

#include <cstdint>
#include <functional>

namespace qav::monitor {

using LongCall = std::function<int32_t(const std::function<int32_t()>& work)>;

inline int32_t RunLong(const LongCall& longCall, const std::function<int32_t()>& work) {
    return longCall ? longCall(work) : work();
}

}  // namespace qav::monitor

// Link operations that take seconds run off the user-interface thread while it goes on painting and running
// its timers; the operator's clicks and keys wait until the operation is done, so nothing starts twice and no
// window goes away under it.
#pragma once

#include <cstdint>
#include <functional>

namespace qav::panel {

// Call on the user-interface thread; returns the work's result.
int32_t RunKeepingWindowAlive(const std::function<int32_t()>& work);

}  // namespace qav::panel

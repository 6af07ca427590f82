// What connecting leaves for the panel's timer, the commands and the other dialogs to read.
#pragma once

#include <atomic>
#include <cstdint>

#include "poll_cycle.h"

namespace qav::monitor {

struct ConnectionState {
    std::atomic<bool> connected{false};
    std::atomic<int> watchdog{0};              // one-second ticks left before a silent link counts as lost
    std::atomic<int> activityIcon{0};          // 0 idle, 1 no answer, 2 exchange
    std::atomic<int64_t> connectedSeconds{0};  // the connection clock, advanced by the panel's timer
    std::atomic<uint32_t> deviceIdentity{0};
    std::atomic<uint32_t> firmwareVersion{0};  // of the connected relay; 0 until identified
    LinkStatus link;
};

}  // namespace qav::monitor

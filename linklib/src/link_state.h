// Library-wide settings and buffers of the transaction in progress.
#pragma once

#include <atomic>
#include <cstdint>

#include "framing.h"

namespace qav::link {

struct LinkState {
    std::atomic<uint32_t> deviceError{0};
    std::atomic<uint32_t> protocol{0};  // 1 = ASCII, else RTU; read when a serial port is opened
    std::atomic<uint32_t> timeoutMs{100};
    std::atomic<uint32_t> userFlag{0};
    // Touched only by the attempt holding the bus (the TCP link receives into a buffer of its own).
    uint8_t tx[kBufferSize] = {};
    uint8_t rx[kBufferSize] = {};
};

LinkState& State();

}  // namespace qav::link

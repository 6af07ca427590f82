// Modbus exception codes the relay answers with.
#pragma once

#include <cstdint>

namespace qav::sim {

enum class ExceptionCode : uint8_t {
    kNone = 0,
    kIllegalFunction = 1,
    kIllegalAddress = 2,
    kIllegalValue = 3,
    kDeviceFailure = 4,
};

}  // namespace qav::sim

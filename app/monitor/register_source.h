// Where the poller's register blocks come from: the link library in the program, a table in tests.
#pragma once

#include <cstdint>

namespace qav::monitor {

class RegisterSource {
public:
    virtual ~RegisterSource() = default;
    // MODBUS_Read03's contract: data bytes copied (> 0) or a result code.
    virtual int32_t Read(int32_t address, int32_t first, int32_t count, uint8_t* buffer, int32_t size,
                         int32_t retries) = 0;
};

// The relay through the link that is open.
class LinkRegisterSource : public RegisterSource {
public:
    int32_t Read(int32_t address, int32_t first, int32_t count, uint8_t* buffer, int32_t size,
                 int32_t retries) override;
};

}  // namespace qav::monitor

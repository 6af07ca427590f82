#include "register_source.h"

#include "QAV508DLL.h"

namespace qav::monitor {

int32_t LinkRegisterSource::Read(int32_t address, int32_t first, int32_t count, uint8_t* buffer, int32_t size,
                                 int32_t retries) {
    return MODBUS_Read03(address, first, count, buffer, size, retries);
}

}  // namespace qav::monitor

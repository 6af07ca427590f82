// Exported transactions and library-wide settings.
#include "QAV508DLL.h"
#include "gate.h"
#include "link_state.h"

namespace qav::link {

LinkState& State() {
    static LinkState state;
    return state;
}

}  // namespace qav::link

using qav::link::State;

extern "C" {

int32_t MODBUS_Read03(int32_t address, int32_t firstRegister, int32_t count, uint8_t* buffer,
                      int32_t bufferSize, int32_t retries) {
    const qav::link::Request request{static_cast<uint8_t>(address), qav::link::kReadHolding,
                                     static_cast<uint16_t>(firstRegister), static_cast<uint16_t>(count)};
    return qav::link::Transact(request, {buffer, buffer == nullptr ? 0 : bufferSize}, retries);
}

int32_t MODBUS_Write06(int32_t address, int32_t reg, const int32_t* value, int32_t retries) {
    if (value == nullptr) {
        return MB_ERR_IO;
    }
    const qav::link::Request request{static_cast<uint8_t>(address), qav::link::kWriteSingle,
                                     static_cast<uint16_t>(reg), static_cast<uint16_t>(*value)};
    return qav::link::Transact(request, {}, retries);
}

uint32_t MODBUS_GetDeviceError(void) {
    return State().deviceError.load();
}

void DLL_SetIOProtocol(uint32_t protocol) {
    State().protocol.store(protocol);
}
void DLL_SetIOTimeout(uint32_t milliseconds) {
    State().timeoutMs.store(milliseconds);
}
void DLL_SetUserFlag(uint32_t flag) {
    State().userFlag.store(flag);
}
uint32_t DLL_GetUserFlag(void) {
    return State().userFlag.load();
}

}  // extern "C"

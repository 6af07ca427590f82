// What the operator reads for a link-library result code.
#pragma once

#include <QString>
#include <cstdint>

namespace qav::monitor {

// The text of an exception code the relay or a gateway answered with.
QString DeviceErrorText(uint32_t exceptionCode);

// The text of a transaction result code; for an exception, the text of `deviceError`.
QString ResultText(int32_t code, uint32_t deviceError);

}  // namespace qav::monitor

// The built-in simulator link: random register data, writes that always succeed.
#include <random>

#include "QAV508DLL.h"
#include "gate.h"

namespace qav::link {
namespace {

// Runs only while holding the bus, so the generator needs no lock of its own.
std::minstd_rand& Generator() {
    static std::minstd_rand generator{std::random_device{}()};
    return generator;
}

int32_t SimRead(const Request& request, Destination destination) {
    const int32_t bytes = 2 * int32_t{request.value};
    if (bytes >= destination.size) {
        return MB_ERR_BUFFER;
    }
    for (int32_t i = 0; i < bytes; ++i) {
        destination.buffer[i] = static_cast<uint8_t>(Generator()() % 255);
    }
    return bytes;
}

int32_t SimWrite(const Request&) {
    return 1;
}

}  // namespace
}  // namespace qav::link

extern "C" {

int32_t DEBUG_Open(void) {
    std::lock_guard lock(qav::link::LinkLifecycle());
    qav::link::BindLink({qav::link::SimRead, qav::link::SimWrite, nullptr});
    return 0;
}

int32_t DEBUG_Close(void) {
    std::lock_guard lock(qav::link::LinkLifecycle());
    qav::link::UnbindLink();
    return 0;
}

}  // extern "C"

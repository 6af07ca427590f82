// The simulator's command line.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "faults.h"
#include "serial_framing.h"

namespace qav::sim {

struct Options {
    bool tcp = false;
    std::string tcpHost = "127.0.0.1";
    uint16_t tcpPort = 5020;
    std::optional<SerialMode> serialMode;
    std::string serialLink;
    unsigned baud = 0;
    uint16_t identity = 26;
    uint16_t firmware = 15;
    uint64_t seed = 1;
    std::vector<std::pair<uint16_t, int16_t>> parameters;  // the address is parameter 222
    bool running = false;
    FaultSettings faults;
    std::optional<std::pair<std::chrono::milliseconds, std::chrono::milliseconds>> silence;  // after, for
    std::string controlSocket;
    bool verbose = false;
    bool help = false;
};

// Throws std::invalid_argument with a message for the user. Without any transport, TCP on its default
// address is served.
Options ParseOptions(int argc, const char* const* argv);
std::string Usage();

}  // namespace qav::sim

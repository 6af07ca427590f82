// Shared set-ups for tests of the relay model.
#pragma once

#include <chrono>
#include <cstdint>
#include <utility>
#include <vector>

#include "relay.h"

namespace qav::sim::test {

using namespace std::chrono_literals;

// Steps the relay as the executable's ticker does.
inline void Step(Relay& relay, std::chrono::milliseconds total, std::chrono::milliseconds step = 100ms) {
    for (auto done = 0ms; done < total; done += step) {
        relay.Advance(step);
    }
}

inline uint32_t U32(const Relay& relay, uint16_t reg) {
    return uint32_t{relay.Value(reg)} << 16 | relay.Value(static_cast<uint16_t>(reg + 1));
}

// A 50 A motor behind a 100 A transformer (currents in tenths of an ampere), remote control allowed.
inline RelaySettings MotorSettings50(std::vector<std::pair<uint16_t, int16_t>> more = {}) {
    RelaySettings settings;
    settings.parameters = {{151, 50}, {200, 1}};
    settings.parameters.insert(settings.parameters.end(), more.begin(), more.end());
    return settings;
}

// Started from the front panel and past its start.
inline void StartAndRun(Relay& relay) {
    relay.Start(CommandSource::kLocal);
    Step(relay, 4s);
}

}  // namespace qav::sim::test

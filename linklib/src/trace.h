// The trace hook: the bytes of every attempt, as they went out and came in, for a traffic monitor.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qav::link::trace {

// A request frame as it was handed to the port or socket. Called by the attempt holding the bus.
void Sent(const uint8_t* bytes, std::size_t size);

// The end of an attempt: the bytes it collected (possibly none) and its result. Called by the attempt holding
// the bus, once per attempt, after the device error of an exception reply is stored.
void Received(const uint8_t* bytes, std::size_t size, int32_t result);

}  // namespace qav::link::trace

// The relay's Modbus application layer: function 03 and 06 requests in, replies or exceptions out.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "exception_code.h"
#include "relay.h"

namespace qav::sim {

constexpr std::size_t kMaxPdu = 253;
constexpr uint16_t kMaxReadCount = 125;

struct Pdu {
    std::array<uint8_t, kMaxPdu> bytes{};
    std::size_t size = 0;

    std::span<const uint8_t> View() const { return {bytes.data(), size}; }
};

// Runs one request PDU on the relay. Any function but 03 and 06 is an illegal function; a request of the
// wrong length, or a read of 0 or more than 125 registers, an illegal value. An empty request gets no reply
// (size 0).
void AnswerRequest(Relay& relay, std::span<const uint8_t> request, Pdu& reply);

void MakeException(uint8_t function, ExceptionCode code, Pdu& reply);

}  // namespace qav::sim

#include "modbus_pdu.h"

#include "framing.h"

namespace qav::sim {
namespace {

uint16_t Word(std::span<const uint8_t> bytes, std::size_t at) {
    return static_cast<uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

void PutWord(uint16_t word, uint8_t* out) {
    out[0] = static_cast<uint8_t>(word >> 8);
    out[1] = static_cast<uint8_t>(word);
}

constexpr std::size_t kRequestSize = 5;  // function, register, count or value

void ReadHolding(const Relay& relay, std::span<const uint8_t> request, Pdu& reply) {
    const uint16_t first = Word(request, 1);
    const uint16_t count = Word(request, 3);
    if (count == 0 || count > kMaxReadCount) {
        MakeException(link::kReadHolding, ExceptionCode::kIllegalValue, reply);
        return;
    }
    uint16_t words[kMaxReadCount];
    const ExceptionCode result = relay.Read(first, count, words);
    if (result != ExceptionCode::kNone) {
        MakeException(link::kReadHolding, result, reply);
        return;
    }
    reply.bytes[0] = link::kReadHolding;
    reply.bytes[1] = static_cast<uint8_t>(2 * count);
    for (uint16_t i = 0; i < count; ++i) {
        PutWord(words[i], &reply.bytes[2 + 2 * i]);
    }
    reply.size = 2 + 2 * std::size_t{count};
}

void WriteSingle(Relay& relay, std::span<const uint8_t> request, Pdu& reply) {
    const ExceptionCode result = relay.Write(Word(request, 1), Word(request, 3));
    if (result != ExceptionCode::kNone) {
        MakeException(link::kWriteSingle, result, reply);
        return;
    }
    // A successful write is answered with its own echo.
    std::copy(request.begin(), request.end(), reply.bytes.begin());
    reply.size = kRequestSize;
}

}  // namespace

void MakeException(uint8_t function, ExceptionCode code, Pdu& reply) {
    reply.bytes[0] = static_cast<uint8_t>(function | link::kExceptionBit);
    reply.bytes[1] = static_cast<uint8_t>(code);
    reply.size = 2;
}

void AnswerRequest(Relay& relay, std::span<const uint8_t> request, Pdu& reply) {
    reply.size = 0;
    if (request.empty()) {
        return;
    }
    const uint8_t function = request[0];
    if (function != link::kReadHolding && function != link::kWriteSingle) {
        MakeException(function, ExceptionCode::kIllegalFunction, reply);
    } else if (request.size() != kRequestSize) {
        MakeException(function, ExceptionCode::kIllegalValue, reply);
    } else if (function == link::kReadHolding) {
        ReadHolding(relay, request, reply);
    } else {
        WriteSingle(relay, request, reply);
    }
}

}  // namespace qav::sim

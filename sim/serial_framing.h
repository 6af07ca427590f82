// Modbus RTU and ASCII as the relay's side of the line speaks them: requests found in the received bytes,
// replies framed for sending, and the time the line takes to carry them.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

#include "framing.h"
#include "modbus_pdu.h"

namespace qav::sim {

enum class SerialMode { kRtu, kAscii };

struct SerialRequest {
    uint8_t address = 0;
    std::array<uint8_t, kMaxPdu> pdu{};
    std::size_t size = 0;

    std::span<const uint8_t> Pdu() const { return {pdu.data(), size}; }
};

constexpr std::size_t kMaxRtuFrame = 256;
constexpr std::size_t kMaxAsciiFrame = 1 + 2 * kMaxRtuFrame + 2;

class RtuRequestReader {
public:
    void Append(std::span<const uint8_t> bytes);
    // The next request whose CRC holds, as soon as its function code tells its length (03 and 06).
    bool Next(SerialRequest& request);
    // The line has fallen silent: what is left is one frame, taken when its CRC holds and dropped if not.
    bool Flush(SerialRequest& request);
    bool Pending() const { return size_ > 0; }

private:
    bool Take(std::size_t frameSize, SerialRequest& request);

    std::array<uint8_t, kMaxRtuFrame> buffer_{};
    std::size_t size_ = 0;
};

class AsciiRequestReader {
public:
    // True once a frame between ':' and CR LF is complete, made of hexadecimal digits, and its LRC holds.
    bool Feed(uint8_t byte, SerialRequest& request);

private:
    link::AsciiReceiver receiver_;
};

// Frames a reply into `out` (kMaxRtuFrame or kMaxAsciiFrame bytes); `corrupt` spoils its CRC or LRC.
std::size_t EncodeRtu(uint8_t address, const Pdu& pdu, bool corrupt, uint8_t* out);
std::size_t EncodeAscii(uint8_t address, const Pdu& pdu, bool corrupt, uint8_t* out);

// Start bit, data, parity or second stop bit, stop bit: 11 bits a character in RTU, 10 in ASCII.
int BitsPerCharacter(SerialMode mode);
std::chrono::microseconds LineTime(std::size_t characters, SerialMode mode, unsigned baud);
// One transaction on the line: the request, in RTU the 3.5 characters of silence that end it, then the reply.
// Zero without a baud rate.
std::chrono::microseconds TransactionLineTime(std::size_t requestCharacters, std::size_t replyCharacters,
                                              SerialMode mode, unsigned baud);

}  // namespace qav::sim

// Modbus RTU and ASCII frames as a test device writes and reads them, built here independently of the link
// library (its CRC, LRC and hex code are not used), so that a test compares two implementations.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

namespace qav::test::serial {

using Bytes = std::vector<uint8_t>;

enum class Framing { Rtu, Ascii };
inline void PrintTo(Framing framing, std::ostream* out) {
    *out << (framing == Framing::Rtu ? "Rtu" : "Ascii");
}

// Modbus CRC-16 (reflected 0xA001, initial 0xFFFF).
uint16_t Crc16(const Bytes& bytes);

// The binary frame (address, PDU) with its CRC appended, low byte first.
Bytes Rtu(Bytes binary);
// ':', the binary frame as upper-case hexadecimal, the LRC, CR LF.
Bytes Ascii(const Bytes& binary);
// Rtu() or Ascii().
Bytes Frame(Framing framing, const Bytes& binary);
// Characters as bytes.
Bytes Text(std::string_view text);
// Concatenation.
Bytes operator+(Bytes first, const Bytes& second);

// A request as the device decoded it.
struct Request {
    uint8_t address = 0;
    uint8_t function = 0;
    uint16_t reg = 0;
    uint16_t value = 0;  // register count of a read
};
// Empty when `frame` is no well-formed request (wrong length, CRC, LRC or characters).
std::optional<Request> Decode(Framing framing, const Bytes& frame);

// What register `reg` of the fake register bank holds: derived from its address, so that a reader can tell
// whose bytes it got.
uint16_t BankValue(uint16_t reg);
// The binary reply (without CRC or LRC) of the register bank to `request`: the registers of a read, the echo
// of a write.
Bytes BankReply(const Request& request);

}  // namespace qav::test::serial

// Modbus function 03/06 frames in RTU and ASCII form, and the reply checks shared by every transport.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace qav::link {

// Size of the library's transmit and receive buffers.
constexpr std::size_t kBufferSize = 1024;

constexpr uint8_t kReadHolding = 0x03;
constexpr uint8_t kWriteSingle = 0x06;
constexpr uint8_t kExceptionBit = 0x80;

// One request as the caller asked for it. For a read, `value` is the register count.
struct Request {
    uint8_t address = 0;
    uint8_t function = kReadHolding;
    uint16_t reg = 0;
    uint16_t value = 0;
};

// Where a read reply's data goes.
struct Destination {
    uint8_t* buffer = nullptr;
    int32_t size = 0;
};

// Modbus CRC-16 (reflected 0xA001, initial 0xFFFF).
uint16_t Crc16(const uint8_t* data, std::size_t size);

// Decodes one received hexadecimal character the way the relay's peers always have: digits and both
// letter cases give their value, any other character some nibble without an error.
uint8_t HexNibble(char c);
uint8_t HexByte(const char* pair);
void PutHexByte(uint8_t byte, char* out);

// LRC of hexadecimal text: the negated sum of the bytes its character pairs encode.
uint8_t LrcOfHex(const char* text, std::size_t size);

// The 5-byte PDU of a request (function, register, value/count), high byte first.
constexpr std::size_t kPduSize = 5;
void BuildPdu(const Request& request, uint8_t* out);

constexpr std::size_t kRtuRequestSize = 8;
constexpr std::size_t kAsciiRequestSize = 17;
std::size_t BuildRtuRequest(const Request& request, uint8_t* out);
std::size_t BuildAsciiRequest(const Request& request, uint8_t* out);

// Judges the bytes of an RTU reply received so far. Empty while more bytes are needed; otherwise the
// transaction's result: data bytes copied (read), 1 (write) or a negative code. `deviceError` receives the
// exception code of an exception reply.
std::optional<int32_t> CheckRtuReply(const Request& request, const uint8_t* reply, std::size_t size,
                                     Destination destination, uint32_t& deviceError);

// Character state machine that finds an ASCII reply body between ':' and CR LF.
class AsciiReceiver {
public:
    void Reset();
    // Runs the machine over a batch of received characters; true once a body of at least five characters
    // is complete (the rest of the batch is then ignored).
    bool Feed(const uint8_t* data, std::size_t size);
    const char* Body() const { return body_; }
    std::size_t BodySize() const { return size_; }

private:
    void Clear() { size_ = 0; }

    int state_ = 0;
    std::size_t size_ = 0;
    char body_[kBufferSize] = {};
};

// The result of a complete ASCII reply body.
int32_t CheckAsciiBody(const Request& request, const char* body, std::size_t size, Destination destination,
                       uint32_t& deviceError);

}  // namespace qav::link

#include "framing.h"

#include <cstring>

#include "QAV508DLL.h"

namespace qav::link {

uint16_t Crc16(const uint8_t* data, std::size_t size) {
    uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            const bool out = crc & 1u;
            crc >>= 1;
            if (out) {
                crc ^= 0xA001;
            }
        }
    }
    return crc;
}

uint8_t HexNibble(char c) {
    int v = static_cast<signed char>(c);
    if (v >= '0') {
        v -= 0x30;
    }
    if (v >= 0x11) {
        v -= 7;
    }
    if (v >= 0x2A) {
        v -= 0x20;
    }
    return static_cast<uint8_t>(v & 0x0F);
}

uint8_t HexByte(const char* pair) {
    return static_cast<uint8_t>(HexNibble(pair[0]) << 4 | HexNibble(pair[1]));
}

void PutHexByte(uint8_t byte, char* out) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out[0] = kDigits[byte >> 4];
    out[1] = kDigits[byte & 0x0F];
}

uint8_t LrcOfHex(const char* text, std::size_t size) {
    uint8_t sum = 0;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        sum = static_cast<uint8_t>(sum + HexByte(text + i));
    }
    return static_cast<uint8_t>(-sum);
}

void BuildPdu(const Request& request, uint8_t* out) {
    out[0] = request.function;
    out[1] = static_cast<uint8_t>(request.reg >> 8);
    out[2] = static_cast<uint8_t>(request.reg);
    out[3] = static_cast<uint8_t>(request.value >> 8);
    out[4] = static_cast<uint8_t>(request.value);
}

std::size_t BuildRtuRequest(const Request& request, uint8_t* out) {
    out[0] = request.address;
    BuildPdu(request, out + 1);
    // The low order byte of the CRC goes first on the line.
    const uint16_t crc = Crc16(out, 6);
    out[6] = static_cast<uint8_t>(crc);
    out[7] = static_cast<uint8_t>(crc >> 8);
    return kRtuRequestSize;
}

std::size_t BuildAsciiRequest(const Request& request, uint8_t* out) {
    uint8_t binary[1 + kPduSize];
    binary[0] = request.address;
    BuildPdu(request, binary + 1);
    char* text = reinterpret_cast<char*>(out);
    text[0] = ':';
    for (std::size_t i = 0; i < sizeof binary; ++i) {
        PutHexByte(binary[i], text + 1 + 2 * i);
    }
    PutHexByte(LrcOfHex(text + 1, 12), text + 13);
    text[15] = '\r';
    text[16] = '\n';
    return kAsciiRequestSize;
}

std::optional<int32_t> CheckRtuReply(const Request& request, const uint8_t* reply, std::size_t size,
                                     Destination destination, uint32_t& deviceError) {
    if (size < 5) {
        return std::nullopt;
    }
    if (reply[0] != request.address) {
        return MB_ERR_FRAME;
    }
    const uint8_t function = reply[1];
    std::size_t expected = 0;
    if (function & kExceptionBit) {
        expected = 5;
    } else if (function == request.function && function == kReadHolding) {
        expected = 5 + std::size_t{reply[2]};
    } else if (function == request.function && function == kWriteSingle) {
        expected = 8;
    } else {
        return MB_ERR_FRAME;
    }
    if (size < expected) {
        return std::nullopt;
    }
    const uint16_t crc = static_cast<uint16_t>(reply[expected - 2] | reply[expected - 1] << 8);
    if (Crc16(reply, expected - 2) != crc) {
        return MB_ERR_CHECKSUM;
    }
    if (function & kExceptionBit) {
        deviceError = reply[2];
        return MB_ERR_EXCEPTION;
    }
    if (function == kWriteSingle) {
        uint8_t pdu[kPduSize];
        BuildPdu(request, pdu);
        return std::memcmp(reply + 2, pdu + 1, 4) == 0 ? 1 : MB_ERR_ECHO;
    }
    const int32_t n = reply[2];
    if (destination.buffer == nullptr || n >= destination.size) {
        return MB_ERR_BUFFER;
    }
    std::memcpy(destination.buffer, reply + 3, static_cast<std::size_t>(n));
    return n;
}

void AsciiReceiver::Reset() {
    state_ = 0;
    size_ = 0;
    std::memset(body_, 0, sizeof body_);
}

bool AsciiReceiver::Feed(const uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        switch (state_) {
            case 1:
                if (c == ':') {
                    Clear();
                } else if (c == '\r') {
                    state_ = 2;
                } else if (c == '\n') {
                    state_ = 0;
                    Clear();
                } else if (size_ < sizeof body_) {
                    body_[size_++] = c;
                }
                break;
            case 2:
                if (c == '\n') {
                    state_ = 3;
                    if (size_ >= 5) {
                        return true;
                    }
                    // Too short to be a reply: the rest of this batch is dropped, as after a whole one.
                    return false;
                }
                Clear();
                state_ = c == ':' ? 1 : 0;
                break;
            default:  // idle, or a body too short to judge
                Clear();
                state_ = c == ':' ? 1 : 0;
                break;
        }
    }
    return false;
}

int32_t CheckAsciiBody(const Request& request, const char* body, std::size_t size, Destination destination,
                       uint32_t& deviceError) {
    if (size < 5 || HexByte(body) != request.address) {
        return MB_ERR_FRAME;
    }
    const uint8_t function = HexByte(body + 2);
    std::size_t expected = 0;
    if (function & kExceptionBit) {
        expected = 8;
    } else if (function == request.function && function == kReadHolding) {
        expected = 2 * std::size_t{HexByte(body + 4)} + 8;
    } else if (function == request.function && function == kWriteSingle) {
        expected = 14;
    } else {
        return MB_ERR_FRAME;
    }
    if (size != expected) {
        return MB_ERR_FRAME;
    }
    if (LrcOfHex(body, size - 2) != HexByte(body + size - 2)) {
        return MB_ERR_CHECKSUM;
    }
    if (function & kExceptionBit) {
        deviceError = HexByte(body + 4);
        return MB_ERR_EXCEPTION;
    }
    if (function == kWriteSingle) {
        const uint16_t reg = static_cast<uint16_t>(HexByte(body + 4) << 8 | HexByte(body + 6));
        const uint16_t value = static_cast<uint16_t>(HexByte(body + 8) << 8 | HexByte(body + 10));
        return reg == request.reg && value == request.value ? 1 : MB_ERR_ECHO;
    }
    const int32_t n = HexByte(body + 4);
    if (destination.buffer == nullptr || n >= destination.size) {
        return MB_ERR_BUFFER;
    }
    for (int32_t k = 0; k < n; ++k) {
        destination.buffer[k] = HexByte(body + 6 + 2 * k);
    }
    return n;
}

}  // namespace qav::link

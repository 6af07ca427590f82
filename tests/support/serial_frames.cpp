#include "serial_frames.h"

namespace qav::test::serial {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

std::optional<uint8_t> Nibble(uint8_t c) {
    if (c >= '0' && c <= '9') {
        return static_cast<uint8_t>(c - '0');
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<uint8_t>(c - 'A' + 10);
    }
    return std::nullopt;
}

}  // namespace

uint16_t Crc16(const Bytes& bytes) {
    uint16_t crc = 0xFFFF;
    for (const uint8_t byte : bytes) {
        crc = static_cast<uint16_t>(crc ^ byte);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1u) != 0 ? static_cast<uint16_t>((crc >> 1) ^ 0xA001)
                                  : static_cast<uint16_t>(crc >> 1);
        }
    }
    return crc;
}

Bytes Rtu(Bytes binary) {
    const uint16_t crc = Crc16(binary);
    binary.push_back(static_cast<uint8_t>(crc & 0xFF));
    binary.push_back(static_cast<uint8_t>(crc >> 8));
    return binary;
}

Bytes Ascii(const Bytes& binary) {
    Bytes text{':'};
    uint8_t sum = 0;
    auto put = [&text](uint8_t byte) {
        text.push_back(static_cast<uint8_t>(kHex[byte >> 4]));
        text.push_back(static_cast<uint8_t>(kHex[byte & 0x0F]));
    };
    for (const uint8_t byte : binary) {
        put(byte);
        sum = static_cast<uint8_t>(sum + byte);
    }
    put(static_cast<uint8_t>(0x100 - sum));
    text.push_back('\r');
    text.push_back('\n');
    return text;
}

Bytes Frame(Framing framing, const Bytes& binary) {
    return framing == Framing::Rtu ? Rtu(binary) : Ascii(binary);
}

Bytes Text(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

Bytes operator+(Bytes first, const Bytes& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

std::optional<Request> Decode(Framing framing, const Bytes& frame) {
    Bytes binary;
    if (framing == Framing::Rtu) {
        if (frame.size() != 8) {
            return std::nullopt;
        }
        binary.assign(frame.begin(), frame.begin() + 6);
        if (Rtu(binary) != frame) {
            return std::nullopt;
        }
    } else {
        if (frame.size() != 17 || frame.front() != ':' || frame[15] != '\r' || frame[16] != '\n') {
            return std::nullopt;
        }
        for (std::size_t i = 1; i < 13; i += 2) {
            const auto high = Nibble(frame[i]);
            const auto low = Nibble(frame[i + 1]);
            if (!high || !low) {
                return std::nullopt;
            }
            binary.push_back(static_cast<uint8_t>(*high << 4 | *low));
        }
        if (Ascii(binary) != frame) {
            return std::nullopt;
        }
    }
    return Request{binary[0], binary[1], static_cast<uint16_t>(binary[2] << 8 | binary[3]),
                   static_cast<uint16_t>(binary[4] << 8 | binary[5])};
}

uint16_t BankValue(uint16_t reg) {
    return static_cast<uint16_t>(reg * 251u + 0x1234u);
}

Bytes BankReply(const Request& request) {
    Bytes reply{request.address, request.function};
    if (request.function == 0x03) {
        reply.push_back(static_cast<uint8_t>(2 * request.value));
        for (uint16_t i = 0; i < request.value; ++i) {
            const uint16_t value = BankValue(static_cast<uint16_t>(request.reg + i));
            reply.push_back(static_cast<uint8_t>(value >> 8));
            reply.push_back(static_cast<uint8_t>(value & 0xFF));
        }
    } else {
        reply.push_back(static_cast<uint8_t>(request.reg >> 8));
        reply.push_back(static_cast<uint8_t>(request.reg & 0xFF));
        reply.push_back(static_cast<uint8_t>(request.value >> 8));
        reply.push_back(static_cast<uint8_t>(request.value & 0xFF));
    }
    return reply;
}

}  // namespace qav::test::serial

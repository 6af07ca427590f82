#include "serial_framing.h"

#include <algorithm>
#include <cstring>

namespace qav::sim {
namespace {

constexpr std::size_t kMinRtuFrame = 4;  // address, function, CRC
constexpr std::size_t kFixedRequest = 8;

bool CrcHolds(const uint8_t* frame, std::size_t size) {
    const uint16_t crc = static_cast<uint16_t>(frame[size - 2] | frame[size - 1] << 8);
    return link::Crc16(frame, size - 2) == crc;
}

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

}  // namespace

void RtuRequestReader::Append(std::span<const uint8_t> bytes) {
    if (size_ + bytes.size() > buffer_.size()) {
        // Longer than any frame: noise on the line.
        size_ = 0;
        return;
    }
    std::memcpy(buffer_.data() + size_, bytes.data(), bytes.size());
    size_ += bytes.size();
}

bool RtuRequestReader::Take(std::size_t frameSize, SerialRequest& request) {
    request.address = buffer_[0];
    request.size = frameSize - 3;
    std::memcpy(request.pdu.data(), buffer_.data() + 1, request.size);
    std::memmove(buffer_.data(), buffer_.data() + frameSize, size_ - frameSize);
    size_ -= frameSize;
    return true;
}

bool RtuRequestReader::Next(SerialRequest& request) {
    if (size_ < kFixedRequest) {
        return false;
    }
    const uint8_t function = buffer_[1];
    const bool fixed = function == link::kReadHolding || function == link::kWriteSingle;
    return fixed && CrcHolds(buffer_.data(), kFixedRequest) && Take(kFixedRequest, request);
}

bool RtuRequestReader::Flush(SerialRequest& request) {
    const bool whole = size_ >= kMinRtuFrame && CrcHolds(buffer_.data(), size_);
    if (whole) {
        return Take(size_, request);
    }
    size_ = 0;
    return false;
}

bool AsciiRequestReader::Feed(uint8_t byte, SerialRequest& request) {
    if (!receiver_.Feed(&byte, 1)) {
        return false;
    }
    const char* body = receiver_.Body();
    const std::size_t size = receiver_.BodySize();
    if (size % 2 != 0 || size < 6 || !std::all_of(body, body + size, IsHex) ||
        link::LrcOfHex(body, size - 2) != link::HexByte(body + size - 2)) {
        return false;
    }
    request.address = link::HexByte(body);
    request.size = std::min((size - 4) / 2, kMaxPdu);
    for (std::size_t i = 0; i < request.size; ++i) {
        request.pdu[i] = link::HexByte(body + 2 + 2 * i);
    }
    return true;
}

std::size_t EncodeRtu(uint8_t address, const Pdu& pdu, bool corrupt, uint8_t* out) {
    out[0] = address;
    std::memcpy(out + 1, pdu.bytes.data(), pdu.size);
    const std::size_t size = 1 + pdu.size;
    uint16_t crc = link::Crc16(out, size);
    if (corrupt) {
        crc = static_cast<uint16_t>(~crc);
    }
    // The low order byte of the CRC goes first on the line.
    out[size] = static_cast<uint8_t>(crc);
    out[size + 1] = static_cast<uint8_t>(crc >> 8);
    return size + 2;
}

std::size_t EncodeAscii(uint8_t address, const Pdu& pdu, bool corrupt, uint8_t* out) {
    char* text = reinterpret_cast<char*>(out);
    text[0] = ':';
    link::PutHexByte(address, text + 1);
    for (std::size_t i = 0; i < pdu.size; ++i) {
        link::PutHexByte(pdu.bytes[i], text + 3 + 2 * i);
    }
    const std::size_t body = 2 + 2 * pdu.size;
    uint8_t lrc = link::LrcOfHex(text + 1, body);
    if (corrupt) {
        lrc = static_cast<uint8_t>(lrc + 1);
    }
    link::PutHexByte(lrc, text + 1 + body);
    text[3 + body] = '\r';
    text[4 + body] = '\n';
    return 5 + body;
}

int BitsPerCharacter(SerialMode mode) {
    return mode == SerialMode::kRtu ? 11 : 10;
}

std::chrono::microseconds LineTime(std::size_t characters, SerialMode mode, unsigned baud) {
    if (baud == 0) {
        return std::chrono::microseconds{0};
    }
    const auto bits = static_cast<long long>(characters) * BitsPerCharacter(mode);
    return std::chrono::microseconds{bits * 1000000 / baud};
}

std::chrono::microseconds TransactionLineTime(std::size_t requestCharacters, std::size_t replyCharacters,
                                              SerialMode mode, unsigned baud) {
    const auto silence =
        mode == SerialMode::kRtu ? LineTime(7, mode, baud) / 2 : std::chrono::microseconds{0};
    return LineTime(requestCharacters, mode, baud) + silence + LineTime(replyCharacters, mode, baud);
}

}  // namespace qav::sim

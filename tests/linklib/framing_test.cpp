// Frames on the wire and the reply rules, byte for byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "QAV508DLL.h"
#include "framing.h"

namespace qav::link {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Rtu(const Request& r) {
    Bytes out(kRtuRequestSize);
    BuildRtuRequest(r, out.data());
    return out;
}

std::string Ascii(const Request& r) {
    uint8_t out[kAsciiRequestSize];
    BuildAsciiRequest(r, out);
    return std::string(reinterpret_cast<char*>(out), sizeof out);
}

constexpr Request kRead6At30{1, kReadHolding, 30, 6};
constexpr Request kWrite55To903{1, kWriteSingle, 903, 55};

TEST(Framing, RequestsOnTheWire) {
    EXPECT_EQ(Rtu(kRead6At30), (Bytes{0x01, 0x03, 0x00, 0x1E, 0x00, 0x06, 0xA5, 0xCE}));
    EXPECT_EQ(Rtu(kWrite55To903), (Bytes{0x01, 0x06, 0x03, 0x87, 0x00, 0x37, 0x78, 0x71}));
    EXPECT_EQ(Ascii(kWrite55To903), ":01060387003738\r\n");
}

TEST(Framing, CrcAndLrc) {
    const uint8_t bytes[] = {0x01, 0x03, 0x00, 0x1E, 0x00, 0x06};
    EXPECT_EQ(Crc16(bytes, sizeof bytes), 0xCEA5);
    EXPECT_EQ(LrcOfHex("010603870037", 12), 0x38);
    EXPECT_EQ(HexByte("fe"), 0xFE);
    EXPECT_EQ(HexByte("Fe"), 0xFE);
}

struct RtuCase {
    const char* name;
    Request request;
    Bytes reply;
    int32_t bufferSize;
    std::optional<int32_t> result;
    uint32_t deviceError;
};

Bytes WithCrc(Bytes frame) {
    const uint16_t crc = Crc16(frame.data(), frame.size());
    frame.push_back(static_cast<uint8_t>(crc));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
    return frame;
}

Bytes ReadReply(uint8_t address, uint8_t registers) {
    Bytes frame{address, 0x03, static_cast<uint8_t>(2 * registers)};
    for (int i = 0; i < 2 * registers; ++i) {
        frame.push_back(static_cast<uint8_t>(i + 1));
    }
    return WithCrc(frame);
}

TEST(Framing, RtuReplies) {
    const Request read25{1, kReadHolding, 0, 25};
    Bytes badCrc = ReadReply(1, 2);
    badCrc.back() ^= 0xFF;
    Bytes longer = ReadReply(1, 2);
    longer.push_back(0x55);
    const RtuCase cases[] = {
        {"exception 2", kRead6At30, {0x01, 0x83, 0x02, 0xC0, 0xF1}, 64, MB_ERR_EXCEPTION, 2},
        {"unknown function fails at once", kRead6At30, {0x01, 0x04, 0x02, 0x00, 0x00}, 64, MB_ERR_FRAME, 0},
        {"write reply to a read", kRead6At30, WithCrc({0x01, 0x06, 0, 30, 0, 6}), 64, MB_ERR_FRAME, 0},
        {"another address", kRead6At30, ReadReply(2, 6), 64, MB_ERR_FRAME, 0},
        {"fewer than five bytes wait", kRead6At30, {0x02, 0x03, 0x0C, 0x00}, 64, std::nullopt, 0},
        {"incomplete read waits", kRead6At30, {0x01, 0x03, 0x0C, 0x00, 0x01, 0x02}, 64, std::nullopt, 0},
        {"checksum", kRead6At30, badCrc, 64, MB_ERR_CHECKSUM, 0},
        {"extra bytes ignored", kRead6At30, longer, 64, 4, 0},
        {"50 bytes into 50", read25, ReadReply(1, 25), 50, MB_ERR_BUFFER, 0},
        {"50 bytes into 51", read25, ReadReply(1, 25), 51, 50, 0},
        {"write echoed", kWrite55To903, Rtu(kWrite55To903), 0, 1, 0},
        {"write echo differs", kWrite55To903, WithCrc({0x01, 0x06, 0x03, 0x87, 0x00, 0x38}), 0, MB_ERR_ECHO,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes data(64, 0xEE);
        uint32_t deviceError = 0;
        const auto result = CheckRtuReply(c.request, c.reply.data(), c.reply.size(),
                                          {data.data(), c.bufferSize}, deviceError);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(deviceError, c.deviceError);
        if (result && *result > 0 && c.request.function == kReadHolding) {
            EXPECT_EQ(data[0], 1);
            EXPECT_EQ(data[static_cast<std::size_t>(*result - 1)], *result);
        }
    }
}

struct AsciiCase {
    const char* name;
    Request request;
    std::vector<std::string> batches;
    std::optional<int32_t> result;  // empty: no complete body yet
    Bytes data;
    uint32_t deviceError;
};

std::string Framed(const std::string& body) {
    return ":" + body + [&] {
        char lrc[3] = {};
        PutHexByte(LrcOfHex(body.data(), body.size()), lrc);
        return std::string(lrc);
    }() + "\r\n";
}

TEST(Framing, AsciiReplies) {
    const Request read2{1, kReadHolding, 0, 2};
    const AsciiCase cases[] = {
        {"exception 2", kRead6At30, {":0183027A\r\n"}, MB_ERR_EXCEPTION, {}, 2},
        {"read", read2, {Framed("010304A1B2C3D4")}, 4, {0xA1, 0xB2, 0xC3, 0xD4}, 0},
        {"lower-case digits", read2, {":010304a1b2c3d40e\r\n"}, 4, {0xA1, 0xB2, 0xC3, 0xD4}, 0},
        {"garbage before the colon",
         read2,
         {"xx\r\n", "zz" + Framed("010304A1B2C3D4")},
         4,
         {0xA1, 0xB2, 0xC3, 0xD4},
         0},
        {"second colon restarts",
         read2,
         {":0103FF:", Framed("010304A1B2C3D4").substr(1)},
         4,
         {0xA1, 0xB2, 0xC3, 0xD4},
         0},
        {"split in pieces", read2, {":0103", "04A1B2C3", "D40E\r", "\n"}, 4, {0xA1, 0xB2, 0xC3, 0xD4}, 0},
        {"short body keeps waiting", read2, {":01\r\n"}, std::nullopt, {}, 0},
        {"short body then a reply",
         read2,
         {":01\r\n", Framed("010304A1B2C3D4")},
         4,
         {0xA1, 0xB2, 0xC3, 0xD4},
         0},
        {"wrong length", read2, {Framed("010304A1B2C3")}, MB_ERR_FRAME, {}, 0},
        {"another address", read2, {Framed("020304A1B2C3D4")}, MB_ERR_FRAME, {}, 0},
        {"bad lrc", read2, {":010304A1B2C3D400\r\n"}, MB_ERR_CHECKSUM, {}, 0},
        {"write echoed", kWrite55To903, {":01060387003738\r\n"}, 1, {}, 0},
        {"write echo differs", kWrite55To903, {Framed("010603870038")}, MB_ERR_ECHO, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AsciiReceiver receiver;
        receiver.Reset();
        bool complete = false;
        for (const auto& batch : c.batches) {
            complete = receiver.Feed(reinterpret_cast<const uint8_t*>(batch.data()), batch.size());
            if (complete) {
                break;
            }
        }
        if (!c.result) {
            EXPECT_FALSE(complete);
            continue;
        }
        ASSERT_TRUE(complete);
        Bytes data(8, 0);
        uint32_t deviceError = 0;
        EXPECT_EQ(
            CheckAsciiBody(c.request, receiver.Body(), receiver.BodySize(), {data.data(), 8}, deviceError),
            *c.result);
        EXPECT_EQ(deviceError, c.deviceError);
        data.resize(c.data.size());
        EXPECT_EQ(data, c.data);
    }
}

TEST(Framing, AsciiBufferRuleMatchesRtu) {
    const Request read25{1, kReadHolding, 0, 25};
    std::string body = "010332";
    for (int i = 0; i < 50; ++i) {
        body += "00";
    }
    const std::string frame = Framed(body);
    AsciiReceiver receiver;
    receiver.Reset();
    ASSERT_TRUE(receiver.Feed(reinterpret_cast<const uint8_t*>(frame.data()), frame.size()));
    Bytes data(51);
    uint32_t deviceError = 0;
    EXPECT_EQ(CheckAsciiBody(read25, receiver.Body(), receiver.BodySize(), {data.data(), 50}, deviceError),
              MB_ERR_BUFFER);
    EXPECT_EQ(CheckAsciiBody(read25, receiver.Body(), receiver.BodySize(), {data.data(), 51}, deviceError),
              50);
}

}  // namespace
}  // namespace qav::link

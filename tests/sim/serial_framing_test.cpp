// Requests found in the bytes of a serial line, and replies framed for it; replies are checked with the
// link library's own master-side checks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "QAV508DLL.h"
#include "framing.h"
#include "serial_framing.h"

namespace qav::sim {
namespace {

using namespace std::chrono_literals;

std::vector<uint8_t> RtuRequest(uint8_t address, uint8_t function, uint16_t reg, uint16_t value) {
    std::vector<uint8_t> frame(link::kRtuRequestSize);
    link::BuildRtuRequest({address, function, reg, value}, frame.data());
    return frame;
}

std::vector<uint8_t> Pdu(const SerialRequest& request) {
    return {request.pdu.begin(), request.pdu.begin() + static_cast<long>(request.size)};
}

TEST(RtuRequestReader, TakesRequestsAsSoonAsTheyAreComplete) {
    RtuRequestReader reader;
    SerialRequest request;
    auto first = RtuRequest(1, 0x03, 30, 6);
    const auto second = RtuRequest(7, 0x06, 903, 55);
    reader.Append({first.data(), 5});
    EXPECT_FALSE(reader.Next(request));
    first.insert(first.end(), second.begin(), second.end());
    reader.Append({first.data() + 5, first.size() - 5});
    ASSERT_TRUE(reader.Next(request));
    EXPECT_EQ(request.address, 1);
    EXPECT_EQ(Pdu(request), (std::vector<uint8_t>{0x03, 0x00, 0x1E, 0x00, 0x06}));
    ASSERT_TRUE(reader.Next(request));
    EXPECT_EQ(request.address, 7);
    EXPECT_EQ(Pdu(request), (std::vector<uint8_t>{0x06, 0x03, 0x87, 0x00, 0x37}));
    EXPECT_FALSE(reader.Next(request));
    EXPECT_FALSE(reader.Pending());
}

TEST(RtuRequestReader, DropsAFrameWithAWrongCrcAtTheGap) {
    RtuRequestReader reader;
    SerialRequest request;
    auto bad = RtuRequest(1, 0x03, 30, 6);
    bad[7] ^= 0x01;
    reader.Append(bad);
    EXPECT_FALSE(reader.Next(request));
    EXPECT_TRUE(reader.Pending());
    EXPECT_FALSE(reader.Flush(request));
    EXPECT_FALSE(reader.Pending());
    reader.Append(RtuRequest(1, 0x03, 0, 2));
    EXPECT_TRUE(reader.Next(request));
}

TEST(RtuRequestReader, OtherFunctionsEndAtTheGap) {
    RtuRequestReader reader;
    SerialRequest request;
    std::vector<uint8_t> frame = {0x01, 0x10, 0x00, 0x97, 0x00, 0x01, 0x02, 0x00, 0x32};
    const uint16_t crc = link::Crc16(frame.data(), frame.size());
    frame.push_back(static_cast<uint8_t>(crc));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
    reader.Append(frame);
    EXPECT_FALSE(reader.Next(request));
    ASSERT_TRUE(reader.Flush(request));
    EXPECT_EQ(request.size, 8u);
    EXPECT_EQ(request.pdu[0], 0x10);
}

TEST(RtuRequestReader, NoiseLongerThanAnyFrameIsDiscarded) {
    RtuRequestReader reader;
    SerialRequest request;
    const std::vector<uint8_t> noise(300, 0x55);
    reader.Append(noise);
    EXPECT_FALSE(reader.Pending());
    reader.Append(RtuRequest(1, 0x03, 0, 2));
    EXPECT_TRUE(reader.Next(request));
}

TEST(AsciiRequestReader, TakesAFrameWithAValidLrc) {
    struct Case {
        std::string text;
        bool taken;
    };
    const Case cases[] = {
        {":01060387003738\r\n", true},          {"garbage:01060387003738\r\n", true},
        {":01060387003739\r\n", false},                                        // wrong LRC
        {":010603870037g8\r\n", false},                                        // not hexadecimal
        {":0106038700373\r\n", false},                                         // odd length
        {":01060387:01060387003738\r\n", true}, {":01060387003738\n", false},  // no CR
    };
    for (const Case& c : cases) {
        AsciiRequestReader reader;
        SerialRequest request;
        bool taken = false;
        for (const char ch : c.text) {
            taken = reader.Feed(static_cast<uint8_t>(ch), request) || taken;
        }
        EXPECT_EQ(taken, c.taken) << c.text;
        if (taken) {
            EXPECT_EQ(request.address, 1);
            EXPECT_EQ(Pdu(request), (std::vector<uint8_t>{0x06, 0x03, 0x87, 0x00, 0x37}));
        }
    }
}

TEST(AsciiRequestReader, AcceptsLowerCaseDigitsAndRequestsBackToBack) {
    AsciiRequestReader reader;
    SerialRequest request;
    std::vector<uint8_t> bytes(link::kAsciiRequestSize);
    link::BuildAsciiRequest({1, 0x03, 30, 6}, bytes.data());
    std::string text(bytes.begin(), bytes.end());
    for (char& ch : text) {
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    int taken = 0;
    for (const char ch : text + text) {
        taken += reader.Feed(static_cast<uint8_t>(ch), request) ? 1 : 0;
    }
    EXPECT_EQ(taken, 2);
    EXPECT_EQ(Pdu(request), (std::vector<uint8_t>{0x03, 0x00, 0x1E, 0x00, 0x06}));
}

qav::sim::Pdu ReadReply() {
    qav::sim::Pdu pdu;
    const uint8_t bytes[] = {0x03, 0x04, 0x00, 0x1A, 0x00, 0x0F};
    std::copy(std::begin(bytes), std::end(bytes), pdu.bytes.begin());
    pdu.size = sizeof bytes;
    return pdu;
}

TEST(ReplyFraming, RtuRepliesPassTheMastersChecks) {
    for (const bool corrupt : {false, true}) {
        uint8_t frame[kMaxRtuFrame];
        const std::size_t size = EncodeRtu(1, ReadReply(), corrupt, frame);
        ASSERT_EQ(size, 9u);
        uint8_t data[8] = {};
        uint32_t deviceError = 0;
        const auto result =
            link::CheckRtuReply({1, 0x03, 0, 2}, frame, size, {data, sizeof data}, deviceError);
        ASSERT_TRUE(result.has_value());
        if (corrupt) {
            EXPECT_EQ(*result, MB_ERR_CHECKSUM);
        } else {
            EXPECT_EQ(*result, 4);
            EXPECT_EQ(data[1], 0x1A);
        }
    }
}

TEST(ReplyFraming, AsciiRepliesPassTheMastersChecks) {
    for (const bool corrupt : {false, true}) {
        uint8_t frame[kMaxAsciiFrame];
        const std::size_t size = EncodeAscii(1, ReadReply(), corrupt, frame);
        const std::string text(frame, frame + size);
        ASSERT_EQ(text.front(), ':');
        ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
        const std::string body = text.substr(1, text.size() - 3);
        EXPECT_EQ(body.size(), 2u * 4 + 8);
        uint8_t data[8] = {};
        uint32_t deviceError = 0;
        const int32_t result =
            link::CheckAsciiBody({1, 0x03, 0, 2}, body.data(), body.size(), {data, sizeof data}, deviceError);
        EXPECT_EQ(result, corrupt ? MB_ERR_CHECKSUM : 4);
    }
}

TEST(ReplyFraming, ExceptionRepliesToo) {
    qav::sim::Pdu pdu;
    MakeException(0x06, ExceptionCode::kIllegalValue, pdu);
    uint8_t frame[kMaxRtuFrame];
    const std::size_t size = EncodeRtu(1, pdu, false, frame);
    uint32_t deviceError = 0;
    const auto result = link::CheckRtuReply({1, 0x06, 151, 700}, frame, size, {}, deviceError);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, MB_ERR_EXCEPTION);
    EXPECT_EQ(deviceError, 3u);
}

TEST(LineTime, BitsPerCharacterTimesCharactersOverBaud) {
    EXPECT_EQ(LineTime(8, SerialMode::kRtu, 9600), 9166us);      // 88 bits
    EXPECT_EQ(LineTime(17, SerialMode::kAscii, 19200), 8854us);  // 170 bits
    EXPECT_EQ(LineTime(255, SerialMode::kRtu, 9600), 292187us);
    EXPECT_EQ(LineTime(255, SerialMode::kRtu, 0), 0us);
}

}  // namespace
}  // namespace qav::sim

// The serial transport through the exported interface: the library opens the slave side of a pseudo-terminal
// as its port, a scripted device (tests/support/serial_device.h) plays the relay on the master side.
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "QAV508DLL.h"
#include "pty_pair.h"
#include "serial_child.h"
#include "serial_device.h"
#include "serial_frames.h"

namespace {

using namespace std::chrono_literals;
using qav::test::PtyPair;
using namespace qav::test::serial;
using Clock = std::chrono::steady_clock;
using Ms = std::chrono::milliseconds;

constexpr Framing kRtu = Framing::Rtu;
constexpr Framing kAscii = Framing::Ascii;

std::u16string Wide(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

const char* Name(Framing framing) {
    return framing == kRtu ? "Rtu" : "Ascii";
}

Ms Since(Clock::time_point start) {
    return std::chrono::duration_cast<Ms>(Clock::now() - start);
}

// One transaction as a test asks for it.
struct Op {
    bool write = false;
    int32_t address = 1;
    int32_t reg = 30;
    int32_t countOrValue = 2;  // register count of a read, value of a write
    int32_t bufferSize = 64;   // read buffer
};

Op Read(int32_t address, int32_t reg, int32_t count, int32_t bufferSize = 64) {
    return {false, address, reg, count, bufferSize};
}
Op Write(int32_t address, int32_t reg, int32_t value) {
    return {true, address, reg, value, 0};
}

// Runs `op`; `data` receives the bytes a successful read delivered.
int32_t Call(const Op& op, int32_t retries = 0, Bytes* data = nullptr) {
    if (op.write) {
        return MODBUS_Write06(op.address, op.reg, &op.countOrValue, retries);
    }
    Bytes buffer(static_cast<std::size_t>(op.bufferSize) + 1, 0xEE);
    const int32_t result =
        MODBUS_Read03(op.address, op.reg, op.countOrValue, buffer.data(), op.bufferSize, retries);
    if (data != nullptr) {
        data->assign(buffer.begin(), buffer.begin() + std::max(result, 0));
    }
    EXPECT_EQ(buffer[static_cast<std::size_t>(op.bufferSize)], 0xEE) << "written past the caller's buffer";
    return result;
}

// The data bytes of the register bank for `count` registers from `reg`, as a read delivers them.
Bytes BankData(uint16_t reg, uint16_t count) {
    const Bytes reply = BankReply({1, 0x03, reg, count});
    return Bytes(reply.begin() + 3, reply.end());
}

// The library on the slave side of a fresh pseudo-terminal; every test leaves the library as it found it.
class SerialLink : public ::testing::Test {
protected:
    void TearDown() override {
        COM_Close();
        DLL_SetIOProtocol(0);
        DLL_SetIOTimeout(100);
    }

    // As the panel connects: protocol and time-out first, then open and set up (19200 8N1).
    void Open(Framing framing, uint32_t timeoutMs) {
        DLL_SetIOProtocol(framing == kAscii ? 1 : 0);
        DLL_SetIOTimeout(timeoutMs);
        ASSERT_EQ(COM_Open(Wide(pty_.SlavePath()).c_str()), 0);
        ASSERT_EQ(COM_Setup(1, 1, 0, 0), 0);
        ASSERT_EQ(COM_IsOpen(), 1);
    }

    PtyPair pty_;
};

template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

// A failing case is shown by its name.
template <typename T>
concept NamedCase = requires(const T& c) {
    c.name;
};

template <NamedCase Case>
void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

// ---------------------------------------------------------------------------------------------------------
// Requests go out byte-exact.

struct RequestCase {
    std::string name;
    Framing framing;
    Op op;
    Bytes sent;
};

class SerialRequest : public SerialLink, public ::testing::WithParamInterface<RequestCase> {};

TEST_P(SerialRequest, IsSentByteExact) {
    const RequestCase& c = GetParam();
    SerialDevice device(pty_, c.framing);
    ASSERT_NO_FATAL_FAILURE(Open(c.framing, 1000));
    EXPECT_EQ(Call(c.op), c.op.write ? 1 : 2 * c.op.countOrValue);
    EXPECT_EQ(device.Requests(), std::vector<Bytes>{c.sent});
}

INSTANTIATE_TEST_SUITE_P(
    Table, SerialRequest,
    ::testing::Values(
        RequestCase{"RtuRead6At30", kRtu, Read(1, 30, 6), {0x01, 0x03, 0x00, 0x1E, 0x00, 0x06, 0xA5, 0xCE}},
        RequestCase{
            "RtuWrite55To903", kRtu, Write(1, 903, 55), {0x01, 0x06, 0x03, 0x87, 0x00, 0x37, 0x78, 0x71}},
        RequestCase{"AsciiRead6At30", kAscii, Read(1, 30, 6), Text(":0103001E0006D8\r\n")},
        RequestCase{"AsciiWrite55To903", kAscii, Write(1, 903, 55), Text(":01060387003738\r\n")},
        RequestCase{"AsciiUpperCaseHex", kAscii, Read(0xAB, 0xBCDE, 1), Text(":AB03BCDE0001B7\r\n")},
        // Address: low 8 bits; register and value: low 16 bits.
        RequestCase{"RtuAddressLow8Bits", kRtu, Read(0x1F7, 0x1234, 2),
                    Rtu({0xF7, 0x03, 0x12, 0x34, 0x00, 0x02})},
        RequestCase{"RtuWriteValueLow16Bits", kRtu, Write(1, 0xFFFF, 0x12345),
                    Rtu({0x01, 0x06, 0xFF, 0xFF, 0x23, 0x45})},
        RequestCase{"AsciiWriteNegativeValue", kAscii, Write(1, 5, -2),
                    Ascii({0x01, 0x06, 0x00, 0x05, 0xFF, 0xFE})}),
    CaseName<RequestCase>);

// ---------------------------------------------------------------------------------------------------------
// Replies: whole, in pieces with pauses, with noise, exceptions, and every check the framing makes.

// Read of 2 registers at 30 from device 1: the reply's binary frame and the data it carries.
const Bytes kReadReply = {0x01, 0x03, 0x04, 0x00, 0x0A, 0x01, 0x02};
const Bytes kReadData = {0x00, 0x0A, 0x01, 0x02};
const Op kRead = Read(1, 30, 2);
const Op kWrite = Write(1, 903, 55);
// 25 registers: 50 data bytes, which need a buffer of at least 51.
const Bytes kRead25Reply = BankReply({1, 0x03, 0, 25});

struct ReplyCase {
    std::string name;
    Framing framing;
    Op op;
    Answer answer;
    int32_t result;
    uint32_t deviceError = 0;
    Bytes data = {};
};

class SerialReply : public SerialLink, public ::testing::WithParamInterface<ReplyCase> {};

// A time-out of three seconds: every reply here ends its attempt well before it, even on a loaded machine.
TEST_P(SerialReply, GivesItsResult) {
    const ReplyCase& c = GetParam();
    SerialDevice device(pty_, c.framing);
    device.SetDefault([&c](const Bytes&) { return c.answer; });
    ASSERT_NO_FATAL_FAILURE(Open(c.framing, 3000));

    const auto start = Clock::now();
    Bytes data;
    EXPECT_EQ(Call(c.op, 0, &data), c.result);
    EXPECT_LT(Since(start), 2000ms) << "the attempt waited for its time-out";
    EXPECT_EQ(MODBUS_GetDeviceError(), c.deviceError);
    if (c.result > 0 && !c.op.write) {
        EXPECT_EQ(data, c.data);
    }
    EXPECT_EQ(device.RequestCount(), 1u);
}

Bytes Corrupt(Bytes frame, std::size_t at) {
    frame[at] ^= 0xFF;
    return frame;
}

INSTANTIATE_TEST_SUITE_P(
    Rtu, SerialReply,
    ::testing::Values(
        ReplyCase{"Whole", kRtu, kRead, Send(Rtu(kReadReply)), 4, 0, kReadData},
        ReplyCase{"InPieces", kRtu, kRead, InPieces(Rtu(kReadReply), {2, 3, 3}, 25ms), 4, 0, kReadData},
        ReplyCase{"ByteByByte", kRtu, kRead, InPieces(Rtu(kReadReply), {1, 1, 1, 1, 1, 1, 1, 1}, 10ms), 4, 0,
                  kReadData},
        ReplyCase{"ExtraBytesIgnored", kRtu, kRead, Send(Rtu(kReadReply) + Bytes{0x55, 0xAA, 0x00}), 4, 0,
                  kReadData},
        ReplyCase{"WriteEchoed", kRtu, kWrite, Send(Rtu({0x01, 0x06, 0x03, 0x87, 0x00, 0x37})), 1},
        ReplyCase{"Exception2", kRtu, kRead, Send({0x01, 0x83, 0x02, 0xC0, 0xF1}), MB_ERR_EXCEPTION, 2},
        ReplyCase{"ExceptionInPieces", kRtu, kRead, InPieces({0x01, 0x83, 0x02, 0xC0, 0xF1}, {1, 2}, 30ms),
                  MB_ERR_EXCEPTION, 2},
        ReplyCase{"WriteException3", kRtu, kWrite, Send(Rtu({0x01, 0x86, 0x03})), MB_ERR_EXCEPTION, 3},
        ReplyCase{"GatewayException11", kRtu, kRead, Send(Rtu({0x01, 0x83, 0x0B})), MB_ERR_EXCEPTION, 11},
        ReplyCase{"BadCrc", kRtu, kRead, Send(Corrupt(Rtu(kReadReply), 8)), MB_ERR_CHECKSUM},
        ReplyCase{"BadData", kRtu, kRead, Send(Corrupt(Rtu(kReadReply), 4)), MB_ERR_CHECKSUM},
        ReplyCase{"OtherAddress", kRtu, kRead, Send(Rtu({0x02, 0x03, 0x04, 0x00, 0x0A, 0x01, 0x02})),
                  MB_ERR_FRAME},
        ReplyCase{"Function04", kRtu, kRead, Send(Rtu({0x01, 0x04, 0x04, 0x00, 0x0A, 0x01, 0x02})),
                  MB_ERR_FRAME},
        ReplyCase{"WriteReplyToRead", kRtu, kRead, Send(Rtu({0x01, 0x06, 0x00, 0x1E, 0x00, 0x02})),
                  MB_ERR_FRAME},
        ReplyCase{"NoiseBeforeReply", kRtu, kRead, Send(Bytes{0xFF, 0x00, 0x13} + Rtu(kReadReply)),
                  MB_ERR_FRAME},
        ReplyCase{"WriteEchoOtherValue", kRtu, kWrite, Send(Rtu({0x01, 0x06, 0x03, 0x87, 0x00, 0x38})),
                  MB_ERR_ECHO},
        ReplyCase{"WriteEchoOtherRegister", kRtu, kWrite, Send(Rtu({0x01, 0x06, 0x03, 0x88, 0x00, 0x37})),
                  MB_ERR_ECHO},
        ReplyCase{"BufferTooSmall", kRtu, Read(1, 0, 25, 50), Send(Rtu(kRead25Reply)), MB_ERR_BUFFER},
        ReplyCase{"BufferJustLargeEnough", kRtu, Read(1, 0, 25, 51), Send(Rtu(kRead25Reply)), 50, 0,
                  BankData(0, 25)}),
    CaseName<ReplyCase>);

INSTANTIATE_TEST_SUITE_P(
    Ascii, SerialReply,
    ::testing::Values(
        ReplyCase{"Whole", kAscii, kRead, Send(Text(":010304000A0102EB\r\n")), 4, 0, kReadData},
        // ':', "0103", "04000A", "0102EB", CR, LF: CR and LF in pieces of their own.
        ReplyCase{"InPieces", kAscii, kRead, InPieces(Ascii(kReadReply), {1, 4, 6, 6, 1}, 25ms), 4, 0,
                  kReadData},
        ReplyCase{"CharByChar", kAscii, kRead,
                  InPieces(Ascii(kReadReply), std::vector<std::size_t>(19, 1), 5ms), 4, 0, kReadData},
        ReplyCase{"LowerCaseHex", kAscii, kRead, Send(Text(":010304000a0102eb\r\n")), 4, 0, kReadData},
        ReplyCase{"GarbageBeforeStart", kAscii, kRead, Send(Text("\x13garbage\r\n 0103") + Ascii(kReadReply)),
                  4, 0, kReadData},
        ReplyCase{"SecondColonRestarts", kAscii, kRead, Send(Text(":01039") + Ascii(kReadReply)), 4, 0,
                  kReadData},
        ReplyCase{"CrWithoutLfDropsBody", kAscii, kRead, Send(Text(":0183027A\rX") + Ascii(kReadReply)), 4, 0,
                  kReadData},
        // A body too short to judge ends the batch; the reply comes in a later one.
        ReplyCase{"ShortBodyThenReply", kAscii, kRead,
                  InPieces(Text(":01\r\n") + Ascii(kReadReply), {5}, 30ms), 4, 0, kReadData},
        ReplyCase{"TrailingAfterLfIgnored", kAscii, kRead, Send(Ascii(kReadReply) + Text(":0183")), 4, 0,
                  kReadData},
        ReplyCase{"WriteEchoed", kAscii, kWrite, Send(Text(":01060387003738\r\n")), 1},
        ReplyCase{"Exception2", kAscii, kRead, Send(Text(":0183027A\r\n")), MB_ERR_EXCEPTION, 2},
        ReplyCase{"ExceptionInPieces", kAscii, kRead, InPieces(Text(":0183027A\r\n"), {3, 4, 1, 1}, 30ms),
                  MB_ERR_EXCEPTION, 2},
        ReplyCase{"WriteException4", kAscii, kWrite, Send(Ascii({0x01, 0x86, 0x04})), MB_ERR_EXCEPTION, 4},
        ReplyCase{"BadLrc", kAscii, kRead, Send(Text(":010304000A0102EC\r\n")), MB_ERR_CHECKSUM},
        ReplyCase{"OtherAddress", kAscii, kRead, Send(Ascii({0x02, 0x03, 0x04, 0x00, 0x0A, 0x01, 0x02})),
                  MB_ERR_FRAME},
        ReplyCase{"Function04", kAscii, kRead, Send(Ascii({0x01, 0x04, 0x04, 0x00, 0x0A, 0x01, 0x02})),
                  MB_ERR_FRAME},
        ReplyCase{"BodyTooLong", kAscii, kRead, Send(Ascii(kReadReply + Bytes{0x00})), MB_ERR_FRAME},
        ReplyCase{"BodyTooShort", kAscii, kRead, Send(Ascii({0x01, 0x03, 0x04, 0x00, 0x0A, 0x01})),
                  MB_ERR_FRAME},
        ReplyCase{"WriteEchoOtherValue", kAscii, kWrite, Send(Ascii({0x01, 0x06, 0x03, 0x87, 0x00, 0x38})),
                  MB_ERR_ECHO},
        ReplyCase{"BufferTooSmall", kAscii, Read(1, 0, 25, 50), Send(Ascii(kRead25Reply)), MB_ERR_BUFFER},
        ReplyCase{"BufferJustLargeEnough", kAscii, Read(1, 0, 25, 51), Send(Ascii(kRead25Reply)), 50, 0,
                  BankData(0, 25)}),
    CaseName<ReplyCase>);

// ---------------------------------------------------------------------------------------------------------
// Retries: attempts back to back, stopping at the first positive result; the last result is returned.

struct RetryCase {
    std::string name;
    Framing framing;
    int32_t retries;
    std::vector<Answer> first;  // answers of the first attempts, in order
    Answer rest;                // answer of every later attempt
    std::size_t requests;       // requests the device sees
    int32_t result;
    uint32_t deviceError = 0;
};

class SerialRetry : public SerialLink, public ::testing::WithParamInterface<RetryCase> {};

TEST_P(SerialRetry, MakesItsAttempts) {
    const RetryCase& c = GetParam();
    constexpr Ms kTimeout = 100ms;
    SerialDevice device(pty_, c.framing);
    for (const Answer& answer : c.first) {
        device.Then([answer](const Bytes&) { return answer; });
    }
    device.SetDefault([&c](const Bytes&) { return c.rest; });
    ASSERT_NO_FATAL_FAILURE(Open(c.framing, static_cast<uint32_t>(kTimeout.count())));

    const auto start = Clock::now();
    EXPECT_EQ(Call(kRead, c.retries), c.result);
    const Ms elapsed = Since(start);
    EXPECT_EQ(MODBUS_GetDeviceError(), c.deviceError);
    // Every silent attempt waits out the whole time-out, and nothing else takes long.
    std::size_t silent = 0;
    for (std::size_t i = 0; i < c.requests; ++i) {
        silent += (i < c.first.size() ? c.first[i] : c.rest).empty() ? 1 : 0;
    }
    EXPECT_GE(elapsed, kTimeout * static_cast<int>(silent));
    EXPECT_LT(elapsed, kTimeout * static_cast<int>(silent) + 700ms);
    std::this_thread::sleep_for(150ms);  // no attempt follows the call's return
    EXPECT_EQ(device.RequestCount(), c.requests);
    for (const Bytes& request : device.Requests()) {
        EXPECT_EQ(request, device.Requests().front()) << "every attempt repeats the request";
    }
}

const Answer kRtuException = Send({0x01, 0x83, 0x02, 0xC0, 0xF1});
const Answer kAsciiException = Send(Text(":0183027A\r\n"));

INSTANTIATE_TEST_SUITE_P(
    Table, SerialRetry,
    ::testing::Values(
        RetryCase{"RtuSilentRetries0", kRtu, 0, {}, Silence(), 1, MB_ERR_TIMEOUT},
        RetryCase{"RtuSilentRetries3", kRtu, 3, {}, Silence(), 4, MB_ERR_TIMEOUT},
        RetryCase{"AsciiSilentRetries0", kAscii, 0, {}, Silence(), 1, MB_ERR_TIMEOUT},
        RetryCase{"AsciiSilentRetries3", kAscii, 3, {}, Silence(), 4, MB_ERR_TIMEOUT},
        RetryCase{"RtuNegativeRetriesMeansNone", kRtu, -1, {}, Silence(), 1, MB_ERR_TIMEOUT},
        RetryCase{"RtuExceptionEveryAttempt", kRtu, 2, {}, kRtuException, 3, MB_ERR_EXCEPTION, 2},
        RetryCase{"AsciiExceptionEveryAttempt", kAscii, 2, {}, kAsciiException, 3, MB_ERR_EXCEPTION, 2},
        RetryCase{
            "RtuChecksumErrorRetried", kRtu, 1, {}, Send(Corrupt(Rtu(kReadReply), 8)), 2, MB_ERR_CHECKSUM},
        RetryCase{"RtuSecondAttemptAnswers", kRtu, 3, {Silence()}, Send(Rtu(kReadReply)), 2, 4},
        RetryCase{"AsciiSecondAttemptAnswers", kAscii, 3, {Silence()}, Send(Ascii(kReadReply)), 2, 4},
        // The device error of an earlier attempt does not outlive it.
        RetryCase{"RtuExceptionThenAnswer", kRtu, 3, {kRtuException}, Send(Rtu(kReadReply)), 2, 4},
        RetryCase{"RtuFirstAnswerEndsTheCall", kRtu, 3, {}, Send(Rtu(kReadReply)), 1, 4}),
    CaseName<RetryCase>);

// ---------------------------------------------------------------------------------------------------------
// Stale bytes and noise.

class SerialFraming : public SerialLink, public ::testing::WithParamInterface<Framing> {};

// A complete, well-formed reply to the very request, with other data: taken for the reply it would show.
Bytes StaleReply(Framing framing) {
    return Frame(framing, {0x01, 0x03, 0x04, 0xDE, 0xAD, 0xBE, 0xEF});
}

TEST_P(SerialFraming, BytesBeforeTheRequestAreDiscarded) {
    SerialDevice device(pty_, GetParam());
    ASSERT_NO_FATAL_FAILURE(Open(GetParam(), 1000));
    pty_.Send(StaleReply(GetParam()));
    std::this_thread::sleep_for(50ms);  // in the port's input queue before the request is sent

    Bytes data;
    EXPECT_EQ(Call(kRead, 0, &data), 4);
    EXPECT_EQ(data, BankData(30, 2));
    EXPECT_EQ(device.RequestCount(), 1u);
}

TEST_P(SerialFraming, LateReplyToAnEarlierRequestIsDiscarded) {
    SerialDevice device(pty_, GetParam());
    Answer late = Send(StaleReply(GetParam()));
    late.front().pause = 120ms;
    device.Then([late](const Bytes&) { return late; });
    ASSERT_NO_FATAL_FAILURE(Open(GetParam(), 60));

    EXPECT_EQ(Call(kRead), MB_ERR_TIMEOUT);
    std::this_thread::sleep_for(200ms);  // the late reply has arrived meanwhile
    DLL_SetIOTimeout(1000);
    Bytes data;
    EXPECT_EQ(Call(kRead, 0, &data), 4);
    EXPECT_EQ(data, BankData(30, 2));
    EXPECT_EQ(device.RequestCount(), 2u);
}

// The selector is read by COM_Open only: a change reaches the next open, not the open port.
TEST_P(SerialFraming, ProtocolChosenAtOpenHolds) {
    const Framing opened = GetParam();
    const Framing other = opened == kRtu ? kAscii : kRtu;
    const Bytes rtuRequest = Rtu({0x01, 0x03, 0x00, 0x1E, 0x00, 0x02});
    const Bytes asciiRequest = Text(":0103001E0002DC\r\n");
    auto sentFor = [&](Framing framing) { return framing == kRtu ? rtuRequest : asciiRequest; };
    ASSERT_NO_FATAL_FAILURE(Open(opened, 30));

    DLL_SetIOProtocol(other == kAscii ? 1 : 0);
    EXPECT_EQ(Call(kRead), MB_ERR_TIMEOUT);
    EXPECT_EQ(pty_.Receive(64, 100ms), sentFor(opened));

    ASSERT_EQ(COM_Open(Wide(pty_.SlavePath()).c_str()), 0);
    ASSERT_EQ(COM_Setup(1, 1, 0, 0), 0);
    EXPECT_EQ(Call(kRead), MB_ERR_TIMEOUT);
    EXPECT_EQ(pty_.Receive(64, 100ms), sentFor(other));
}

std::string FramingName(const ::testing::TestParamInfo<Framing>& param) {
    return Name(param.param);
}

INSTANTIATE_TEST_SUITE_P(Both, SerialFraming, ::testing::Values(kRtu, kAscii), FramingName);

TEST_F(SerialLink, AnyOtherSelectorIsRtu) {
    DLL_SetIOProtocol(2);
    DLL_SetIOTimeout(30);
    ASSERT_EQ(COM_Open(Wide(pty_.SlavePath()).c_str()), 0);
    EXPECT_EQ(Call(kRead), MB_ERR_TIMEOUT);
    EXPECT_EQ(pty_.Receive(64, 100ms), Rtu({0x01, 0x03, 0x00, 0x1E, 0x00, 0x02}));
}

// A device that keeps sending bytes without a valid start for its address: an early -105 in RTU (the first
// five bytes are judged), the time-out in ASCII (no ':' ever starts a body); never a hang.
struct NoiseCase {
    std::string name;
    Framing framing;
    Answer noise;
    int32_t result;
};

class SerialNoise : public SerialLink, public ::testing::WithParamInterface<NoiseCase> {};

TEST_P(SerialNoise, EndsTheAttempt) {
    const NoiseCase& c = GetParam();
    constexpr Ms kTimeout = 400ms;  // long enough that an early end stands out on a loaded machine
    SerialDevice device(pty_, c.framing);
    device.SetDefault([&c](const Bytes&) { return c.noise; });
    ASSERT_NO_FATAL_FAILURE(Open(c.framing, static_cast<uint32_t>(kTimeout.count())));

    const auto start = Clock::now();
    EXPECT_EQ(Call(kRead), c.result);
    const Ms elapsed = Since(start);
    if (c.result == MB_ERR_TIMEOUT) {
        EXPECT_GE(elapsed, kTimeout);
        EXPECT_LT(elapsed, kTimeout + 500ms);
    } else {
        EXPECT_LT(elapsed, kTimeout / 2);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SerialNoise,
    ::testing::Values(
        NoiseCase{"RtuOtherBytes", kRtu, Repeat({0xAA, 0x55, 0xF0, 0x0F}, 60, 5ms), MB_ERR_FRAME},
        NoiseCase{"RtuOwnAddressThenNoise", kRtu, Repeat({0x01, 0x07, 0x55, 0xAA}, 60, 5ms), MB_ERR_FRAME},
        NoiseCase{"RtuSlowNoise", kRtu, Repeat({0x42}, 20, 10ms), MB_ERR_FRAME},
        NoiseCase{"AsciiHexWithoutColon", kAscii, Repeat(Text("0103040A0102EB\r\n"), 40, 10ms),
                  MB_ERR_TIMEOUT},
        NoiseCase{"AsciiBinaryNoise", kAscii, Repeat({0xAA, 0x55, 0x0D, 0x0A, 0x00}, 40, 10ms),
                  MB_ERR_TIMEOUT}),
    CaseName<NoiseCase>);

// The received bytes of one attempt must stay below 1024.
struct OverflowCase {
    std::string name;
    Framing framing;
    Answer answer;
    int32_t result;
};

class SerialOverflow : public SerialLink, public ::testing::WithParamInterface<OverflowCase> {};

TEST_P(SerialOverflow, StopsAt1024) {
    const OverflowCase& c = GetParam();
    SerialDevice device(pty_, c.framing);
    device.SetDefault([&c](const Bytes&) { return c.answer; });
    ASSERT_NO_FATAL_FAILURE(Open(c.framing, 400));
    EXPECT_EQ(Call(kRead), c.result);
}

// ':' and hexadecimal digits without an end, `total` characters in all, in pieces of 128.
Answer EndlessBody(std::size_t total) {
    const Bytes body = Text(":") + Bytes(total - 1, '0');
    return InPieces(body, std::vector<std::size_t>(total / 128, 128), 2ms);
}

// In RTU a reply is complete after at most 260 bytes; only a burst of 1024 at once overflows.
Answer RtuBurst() {
    return {Piece{{0x01, 0x03, 0xFF, 0x00}, 0ms}, Piece{Bytes(1100, 0x00), 20ms}};
}

INSTANTIATE_TEST_SUITE_P(
    Table, SerialOverflow,
    ::testing::Values(OverflowCase{"Ascii1023Bytes", kAscii, EndlessBody(1023), MB_ERR_TIMEOUT},
                      OverflowCase{"Ascii1024Bytes", kAscii, EndlessBody(1024), MB_ERR_OVERFLOW},
                      OverflowCase{"Ascii3000Bytes", kAscii, EndlessBody(3000), MB_ERR_OVERFLOW},
                      OverflowCase{"RtuBurst", kRtu, RtuBurst(), MB_ERR_OVERFLOW}),
    CaseName<OverflowCase>);

// ---------------------------------------------------------------------------------------------------------
// Line settings, as the slave side of the pseudo-terminal reports them. A pseudo-terminal keeps speed and
// stop bits but always reports 8 data bits and no parity, so those are checked only where they can show.

struct SetupCase {
    std::string name;
    int32_t baud, dataBits, parity, stopBits;
    speed_t speed;
    bool eightBits;  // 7 bits cannot show on a pseudo-terminal
    bool twoStopBits;
};

class SerialSetup : public SerialLink, public ::testing::WithParamInterface<SetupCase> {};

TEST_P(SerialSetup, AppliesTheLineSettings) {
    const SetupCase& c = GetParam();
    ASSERT_EQ(COM_Open(Wide(pty_.SlavePath()).c_str()), 0);
    ASSERT_EQ(COM_Setup(c.baud, c.dataBits, c.parity, c.stopBits), 0);

    termios tio{};
    ASSERT_EQ(tcgetattr(pty_.SlaveFd(), &tio), 0);
    EXPECT_EQ(cfgetospeed(&tio), c.speed);
    EXPECT_EQ(cfgetispeed(&tio), c.speed);
    if (c.eightBits) {
        EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    }
    EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, c.twoStopBits);
    // Fixed: raw binary bytes, no flow control, reads that return at once.
    EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(tio.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | IXANY | INPCK | ISTRIP | ICRNL | INLCR | IGNCR | PARMRK), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(tio.c_cc[VMIN], 0);
    EXPECT_EQ(tio.c_cc[VTIME], 0);
}

INSTANTIATE_TEST_SUITE_P(Table, SerialSetup,
                         ::testing::Values(SetupCase{"I1111Even19200_8_1", 1, 1, 1, 0, B19200, true, false},
                                           SetupCase{"I5555_9600_8N2", 5, 5, 5, 5, B9600, true, true},
                                           SetupCase{"I0000_9600_7N1", 0, 0, 0, 0, B9600, false, false},
                                           SetupCase{"I1111_19200_8E2", 1, 1, 1, 1, B19200, true, true},
                                           SetupCase{"I0101_9600_8N2", 0, 1, 0, 1, B9600, true, true},
                                           SetupCase{"INeg_9600_8N2", -1, -1, -1, -1, B9600, true, true}),
                         CaseName<SetupCase>);

// Set-up of the port again with other settings keeps the port working.
TEST_F(SerialLink, SetupAgainKeepsThePortWorking) {
    SerialDevice device(pty_, kRtu);
    ASSERT_NO_FATAL_FAILURE(Open(kRtu, 1000));
    ASSERT_EQ(COM_Setup(0, 1, 0, 1), 0);
    EXPECT_EQ(Call(kRead), 4);
}

// ---------------------------------------------------------------------------------------------------------
// Opening.

struct OpenCase {
    std::string name;
    std::string port;
    int32_t result;
};

class SerialOpen : public SerialLink, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(SerialOpen, Fails) {
    const OpenCase& c = GetParam();
    EXPECT_EQ(COM_Open(Wide(c.port).c_str()), c.result);
    EXPECT_EQ(COM_IsOpen(), 0);
    uint8_t buffer[8];
    EXPECT_EQ(MODBUS_Read03(1, 0, 1, buffer, sizeof buffer, 0), MB_ERR_IO);
    EXPECT_EQ(COM_Setup(1, 1, 0, 0), -1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SerialOpen,
    ::testing::Values(OpenCase{"MissingAbsolutePath", "/dev/qav-no-such-port", -1},
                      OpenCase{"MissingDevName", "qav-no-such-port", -1},
                      OpenCase{"NotATerminal", "/dev/null", -1},
                      OpenCase{"NotATerminalByDevName", "null", -1}, OpenCase{"Directory", "/tmp", -1},
                      // COMn with a number past every integer type: a missing device, never an exception.
                      OpenCase{"ComNumberOverflows", "COM" + std::string(30, '9'), -1},
                      OpenCase{"ComWithoutNumber", "COM", -1},
                      // length + 6 must not exceed 255
                      OpenCase{"Name249Characters", std::string(249, 'x'), -1},
                      OpenCase{"Name250Characters", std::string(250, 'x'), MB_ERR_BUFFER},
                      OpenCase{"Name1000Characters", std::string(1000, 'x'), MB_ERR_BUFFER}),
    CaseName<OpenCase>);

TEST_F(SerialLink, NullNameFails) {
    EXPECT_EQ(COM_Open(nullptr), -1);
    EXPECT_EQ(COM_IsOpen(), 0);
}

TEST_F(SerialLink, SetupWithoutAnOpenPortFails) {
    EXPECT_EQ(COM_Setup(1, 1, 0, 0), -1);
    ASSERT_NO_FATAL_FAILURE(Open(kRtu, 100));
    EXPECT_EQ(COM_Close(), 0);
    EXPECT_EQ(COM_IsOpen(), 0);
    EXPECT_EQ(COM_Setup(1, 1, 0, 0), -1);
    EXPECT_EQ(COM_Close(), 0);  // closing twice is harmless
}

// A failed open closes the port opened before it.
TEST_F(SerialLink, TooLongNameClosesTheOpenPort) {
    ASSERT_NO_FATAL_FAILURE(Open(kRtu, 100));
    EXPECT_EQ(COM_Open(Wide(std::string(250, 'x')).c_str()), MB_ERR_BUFFER);
    EXPECT_EQ(COM_IsOpen(), 0);
    uint8_t buffer[8];
    EXPECT_EQ(MODBUS_Read03(1, 30, 2, buffer, sizeof buffer, 0), MB_ERR_IO);
}

// A name that is neither absolute nor COMn lies under /dev: "pts/N" is the pseudo-terminal itself.
TEST_F(SerialLink, OtherNamesLieUnderDev) {
    const std::string prefix = "/dev/";
    ASSERT_EQ(pty_.SlavePath().rfind(prefix, 0), 0u);
    SerialDevice device(pty_, kRtu);
    DLL_SetIOTimeout(1000);
    ASSERT_EQ(COM_Open(Wide(pty_.SlavePath().substr(prefix.size())).c_str()), 0);
    ASSERT_EQ(COM_Setup(1, 1, 0, 0), 0);
    EXPECT_EQ(Call(kRead), 4);
}

// COM_Open of the port that is open already closes it and opens it again.
TEST_F(SerialLink, OpenAgainInTheSameProcess) {
    SerialDevice device(pty_, kRtu);
    ASSERT_NO_FATAL_FAILURE(Open(kRtu, 1000));
    ASSERT_EQ(COM_Open(Wide(pty_.SlavePath()).c_str()), 0);
    ASSERT_EQ(COM_Setup(1, 1, 0, 0), 0);
    EXPECT_EQ(Call(kRead), 4);
}

// Runs the probe (serial_open_probe.cpp) in a process of its own: COM_Open's result there.
int32_t OpenInAnotherProcess(const std::string& path) {
    const int status = RunChild({QAV_SERIAL_OPEN_PROBE, path});
    EXPECT_GE(status, 0) << "the probe did not run";
    return -status;
}

// Exclusive even against root (the tests may run as root, whom TIOCEXCL does not stop).
TEST_F(SerialLink, OpenIsExclusiveAgainstOtherProcesses) {
    ASSERT_NO_FATAL_FAILURE(Open(kRtu, 100));
    EXPECT_EQ(OpenInAnotherProcess(pty_.SlavePath()), -1);
    EXPECT_EQ(COM_IsOpen(), 1);
    COM_Close();
    EXPECT_EQ(OpenInAnotherProcess(pty_.SlavePath()), 0);
    // And the other way round: the port is free again for this process.
    ASSERT_NO_FATAL_FAILURE(Open(kRtu, 100));
}

// The device side gone (a pulled USB adapter hangs the line up): the driver refuses the write or the read,
// and the attempt ends with -100 at once instead of waiting for its time-out.
TEST_F(SerialLink, DeviceGoneBeforeTheRequest) {
    ASSERT_NO_FATAL_FAILURE(Open(kRtu, 2000));
    pty_.CloseMaster();
    const auto start = Clock::now();
    EXPECT_EQ(Call(kRead, 3), MB_ERR_IO);
    EXPECT_EQ(Call(kWrite, 3), MB_ERR_IO);
    EXPECT_LT(Since(start), 500ms);
}

TEST_F(SerialLink, DeviceGoneWhileWaitingForTheReply) {
    ASSERT_NO_FATAL_FAILURE(Open(kRtu, 2000));
    int32_t result = 0;
    std::thread caller([&] { result = Call(kRead); });
    EXPECT_EQ(pty_.Receive(8, 1s).size(), 8u);
    std::this_thread::sleep_for(50ms);
    const auto gone = Clock::now();
    pty_.CloseMaster();
    caller.join();
    EXPECT_EQ(result, MB_ERR_IO);
    EXPECT_LT(Since(gone), 500ms);
}

// ---------------------------------------------------------------------------------------------------------
// Concurrency over the serial port.

// Several readers of different blocks and two writers at once, more than a gate admits: every caller gets
// the reply to its own request.
TEST_P(SerialFraming, CallersNeverSeeEachOthersBytes) {
    SerialDevice device(pty_, GetParam());
    ASSERT_NO_FATAL_FAILURE(Open(GetParam(), 1000));
    constexpr int kReaders = 7;
    constexpr int kWriters = 2;
    constexpr int kCalls = 25;
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kReaders; ++t) {
        threads.emplace_back([&, t] {
            const auto reg = static_cast<uint16_t>(100 * t);
            const auto count = static_cast<uint16_t>(1 + 3 * t);
            for (int i = 0; i < kCalls; ++i) {
                Bytes data;
                if (Call(Read(1, reg, count), 0, &data) != 2 * count || data != BankData(reg, count)) {
                    ++wrong;
                }
            }
        });
    }
    for (int t = 0; t < kWriters; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kCalls; ++i) {
                if (Call(Write(1, 900 + t, 1000 * t + i)) != 1) {
                    ++wrong;
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(device.RequestCount(), static_cast<std::size_t>((kReaders + kWriters) * kCalls));
}

// Closing the port while one caller is inside a transaction and others wait at the gates or the bus
// releases them all at once with -100; later calls get -100 until a port is opened again. Reopening the
// port releases the waiters of the old one the same way.
struct ReleaseCase {
    std::string name;
    bool reopen;  // COM_Open of the same port instead of COM_Close
};

class SerialRelease : public SerialLink, public ::testing::WithParamInterface<ReleaseCase> {};

TEST_P(SerialRelease, ReleasesEveryCaller) {
    SerialDevice device(pty_, kRtu);
    device.SetDefault([](const Bytes&) { return Silence(); });
    ASSERT_NO_FATAL_FAILURE(Open(kRtu, 5000));  // the attempt in progress would last 4 × 5 s

    constexpr int kReaders = 8;  // five pass the read gate, three wait at it
    constexpr int kWriters = 3;
    std::vector<int32_t> results(kReaders + kWriters, 0);
    std::vector<Clock::time_point> ended(kReaders + kWriters);
    std::vector<std::thread> threads;
    for (int t = 0; t < kReaders + kWriters; ++t) {
        threads.emplace_back([&, t] {
            results[t] = Call(t < kReaders ? Read(1, 10 * t, 2) : Write(1, 900 + t, t), 3);
            ended[t] = Clock::now();
        });
    }
    ASSERT_TRUE(device.WaitForRequests(1, 2s));
    std::this_thread::sleep_for(200ms);  // every other caller is queued by now

    const auto closed = Clock::now();
    if (GetParam().reopen) {
        ASSERT_EQ(COM_Open(Wide(pty_.SlavePath()).c_str()), 0);
    } else {
        EXPECT_EQ(COM_Close(), 0);
    }
    EXPECT_LT(Since(closed), 1s) << "closing waits for the attempt in progress, which must end promptly";
    for (auto& thread : threads) {
        thread.join();
    }
    for (int t = 0; t < kReaders + kWriters; ++t) {
        EXPECT_EQ(results[t], MB_ERR_IO) << "caller " << t;
        EXPECT_LT(ended[t] - closed, 1500ms) << "caller " << t;
    }
    EXPECT_EQ(device.RequestCount(), 1u);

    if (GetParam().reopen) {
        // The new port is a fresh link: its callers are served.
        ASSERT_EQ(COM_Setup(1, 1, 0, 0), 0);
        device.SetDefault(Bank(kRtu));
        EXPECT_EQ(Call(kRead), 4);
        return;
    }
    const auto later = Clock::now();
    EXPECT_EQ(Call(kRead, 3), MB_ERR_IO);
    EXPECT_EQ(Call(kWrite, 3), MB_ERR_IO);
    EXPECT_LT(Since(later), 100ms);
    EXPECT_EQ(COM_IsOpen(), 0);

    device.SetDefault(Bank(kRtu));
    ASSERT_NO_FATAL_FAILURE(Open(kRtu, 1000));
    EXPECT_EQ(Call(kRead), 4);
}

INSTANTIATE_TEST_SUITE_P(Table, SerialRelease,
                         ::testing::Values(ReleaseCase{"ByClose", false}, ReleaseCase{"ByOpenAgain", true}),
                         CaseName<ReleaseCase>);

// Closing while a reply is arriving in pieces.
TEST_F(SerialLink, CloseDuringAReplyInPieces) {
    SerialDevice device(pty_, kRtu);
    device.SetDefault([](const Bytes&) {
        return InPieces(Rtu(kReadReply), {1, 1, 1, 1, 1, 1, 1, 1}, 100ms);
    });
    ASSERT_NO_FATAL_FAILURE(Open(kRtu, 5000));
    int32_t result = 0;
    std::thread caller([&] { result = Call(kRead, 3); });
    ASSERT_TRUE(device.WaitForRequests(1, 2s));
    std::this_thread::sleep_for(250ms);
    const auto closed = Clock::now();
    COM_Close();
    caller.join();
    EXPECT_LT(Since(closed), 1s);
    EXPECT_EQ(result, MB_ERR_IO);
}

}  // namespace

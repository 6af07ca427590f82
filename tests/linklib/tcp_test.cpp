// The Modbus TCP link through the exported interface, against a scripted loopback peer and against libmodbus.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "QAV508DLL.h"
#include "modbus_tcp_peer.h"
#include "scripted_tcp_server.h"

namespace {

using namespace std::chrono_literals;
using qav::test::Answer;
using qav::test::Bytes;
using qav::test::ModbusTcpPeer;
using qav::test::RegisterValue;
using qav::test::Responder;
using qav::test::ScriptedTcpServer;
using Clock = std::chrono::steady_clock;

constexpr char16_t kLoopback[] = u"127.0.0.1";
// How long a test waits for something that should happen at once; generous for a loaded machine.
constexpr auto kPatience = 5s;
constexpr uint32_t kTimeoutMs = 2000;
constexpr uint8_t kCanary = 0xA5;
constexpr std::size_t kCanarySize = 16;

uint16_t Word(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

// A read into a caller's buffer of `size` bytes followed by canary bytes the library must never touch.
struct ReadOutcome {
    int32_t result;
    Bytes buffer;

    // True when no byte from `from` on (canary included) was written.
    bool UntouchedFrom(std::size_t from) const {
        for (std::size_t i = from; i < buffer.size(); ++i) {
            if (buffer[i] != kCanary) {
                return false;
            }
        }
        return true;
    }
};

ReadOutcome Read(int32_t address, int32_t first, int32_t count, int32_t size, int32_t retries = 0) {
    ReadOutcome outcome{0, Bytes(static_cast<std::size_t>(size) + kCanarySize, kCanary)};
    outcome.result = MODBUS_Read03(address, first, count, outcome.buffer.data(), size, retries);
    return outcome;
}

// True when the data bytes are the fake device's registers from `first` on.
bool HoldsDeviceRegisters(const uint8_t* data, int32_t first, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        if (Word(data + 2 * i) != RegisterValue(static_cast<uint16_t>(first + i))) {
            return false;
        }
    }
    return true;
}

Answer Silence(const Bytes&) {
    return {};
}

// Opens the link to a scripted server before each test and closes it after.
class TcpLink : public testing::Test {
protected:
    void SetUp() override {
        DLL_SetIOTimeout(kTimeoutMs);
        ASSERT_EQ(TCP_Open(kLoopback, server.Port()), 0);
        ASSERT_EQ(TCP_IsOpen(), 1);
    }
    void TearDown() override { TCP_Close(); }

    ScriptedTcpServer server;
};

// The identifiers of the first three requests of this process, as text.
std::string FirstTransactionIds() {
    ScriptedTcpServer server;
    DLL_SetIOTimeout(kTimeoutMs);
    if (TCP_Open(kLoopback, server.Port()) != 0) {
        return "no connection";
    }
    uint8_t buffer[8];
    const int32_t value = 1;
    MODBUS_Read03(1, 0, 1, buffer, sizeof buffer, 0);
    MODBUS_Write06(1, 0, &value, 0);
    MODBUS_Read03(1, 0, 1, buffer, sizeof buffer, 0);
    TCP_Close();
    std::string ids = "ids";
    for (const Bytes& request : server.Requests()) {
        char id[8];
        std::snprintf(id, sizeof id, " %04X", qav::test::TransactionId(request));
        ids += id;
    }
    return ids;
}

// A death test only to get a fresh process: the identifier is process-wide and never reset.
TEST(TcpLinkDeathTest, FirstRequestsOfTheProcessCarryOneTwoThree) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            std::fprintf(stderr, "%s\n", FirstTransactionIds().c_str());
            std::exit(0);
        },
        testing::ExitedWithCode(0), "ids 0001 0002 0003\n");
}

TEST_F(TcpLink, TransactionIdsIncreaseByOneAndWrapAfterFFFF) {
    constexpr std::size_t kTransactions = 65537;  // passes 0xFFFF wherever the identifier starts
    std::size_t failures = 0;
    uint8_t buffer[8];
    const int32_t value = 7;
    for (std::size_t i = 0; i < kTransactions; ++i) {
        const int32_t expected = i % 2 == 0 ? 2 : 1;
        const int32_t result =
            i % 2 == 0 ? MODBUS_Read03(1, 5, 1, buffer, sizeof buffer, 0) : MODBUS_Write06(1, 5, &value, 0);
        failures += result == expected ? 0 : 1;
    }
    EXPECT_EQ(failures, 0u);
    const std::vector<Bytes> requests = server.Requests();
    ASSERT_EQ(requests.size(), kTransactions);
    std::size_t wraps = 0;
    for (std::size_t i = 1; i < requests.size(); ++i) {
        const uint16_t previous = qav::test::TransactionId(requests[i - 1]);
        const uint16_t id = qav::test::TransactionId(requests[i]);
        ASSERT_EQ(id, static_cast<uint16_t>(previous + 1)) << "request " << i;
        wraps += previous == 0xFFFF && id == 0x0000 ? 1 : 0;
    }
    EXPECT_EQ(wraps, 1u);
}

TEST_F(TcpLink, RequestBytes) {
    struct Case {
        const char* name;
        bool write;
        int32_t address, reg, valueOrCount;
        Bytes afterId;  // the ten bytes after the transaction identifier
    };
    const Case cases[] = {
        {"read 6 at 30", false, 1, 30, 6, {0x00, 0x00, 0x00, 0x06, 0x01, 0x03, 0x00, 0x1E, 0x00, 0x06}},
        {"write 55 to 903", true, 1, 903, 55, {0x00, 0x00, 0x00, 0x06, 0x01, 0x06, 0x03, 0x87, 0x00, 0x37}},
        {"low bits of address and value",
         true,
         0x1F7,
         0xFFFF,
         -2,
         {0x00, 0x00, 0x00, 0x06, 0xF7, 0x06, 0xFF, 0xFF, 0xFF, 0xFE}},
        {"read 125 at 0 from 247",
         false,
         247,
         0,
         125,
         {0x00, 0x00, 0x00, 0x06, 0xF7, 0x03, 0x00, 0x00, 0x00, 0x7D}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t before = server.RequestCount();
        if (c.write) {
            EXPECT_EQ(MODBUS_Write06(c.address, c.reg, &c.valueOrCount, 0), 1);
        } else {
            EXPECT_EQ(Read(c.address, c.reg, c.valueOrCount, 256).result, 2 * c.valueOrCount);
        }
        const std::vector<Bytes> requests = server.Requests();
        ASSERT_EQ(requests.size(), before + 1);
        ASSERT_EQ(requests.back().size(), 12u);
        EXPECT_EQ(Bytes(requests.back().begin() + 2, requests.back().end()), c.afterId);
    }
}

// One scripted reply to a read of 2 registers at 10 from unit 1 into a 64-byte buffer.
struct ReplyCase {
    const char* name;
    Responder responder;
    int32_t result;
    uint32_t deviceError;
};

Responder Pieces(std::vector<std::size_t> cuts, std::chrono::milliseconds gap) {
    return [cuts, gap](const Bytes& request) {
        const Bytes reply = qav::test::DeviceAnswer(request).pieces.front().bytes;
        Answer answer;
        std::size_t from = 0;
        for (std::size_t cut : cuts) {
            answer.pieces.push_back(
                {Bytes(reply.begin() + from, reply.begin() + cut), from == 0 ? 0ms : gap});
            from = cut;
        }
        answer.pieces.push_back({Bytes(reply.begin() + from, reply.end()), gap});
        return answer;
    };
}

// A frame the attempt must skip (identifier `idOffset` behind, or another protocol), then the device's reply,
// in one chunk.
Responder FrameFirst(uint16_t idOffset, uint16_t protocol) {
    return [idOffset, protocol](const Bytes& request) {
        const auto id = static_cast<uint16_t>(qav::test::TransactionId(request) - idOffset);
        Bytes bytes = qav::test::Frame(id, qav::test::Unit(request), {0x03, 0x04, 0xDE, 0xAD, 0xBE, 0xEF});
        bytes[3] = static_cast<uint8_t>(protocol);
        const Bytes reply = qav::test::DeviceAnswer(request).pieces.front().bytes;
        bytes.insert(bytes.end(), reply.begin(), reply.end());
        return qav::test::Send(bytes);
    };
}

// A reply frame built from raw header fields and PDU bytes, followed by `tail` in the same chunk.
Responder Raw(uint16_t length, uint8_t unit, Bytes pdu, Bytes tail = {}) {
    return [=](const Bytes& request) {
        Bytes bytes{
            request[0], request[1], 0, 0, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length),
            unit};
        bytes.insert(bytes.end(), pdu.begin(), pdu.end());
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        return qav::test::Send(bytes);
    };
}

TEST_F(TcpLink, ReplyShapes) {
    DLL_SetIOTimeout(500);
    const Bytes sixtyBytes(60, 0xEE);
    const ReplyCase cases[] = {
        {"stale frame of the previous request first", FrameFirst(1, 0), 4, 0},
        {"frame of another protocol first", FrameFirst(0, 1), 4, 0},
        {"two pieces 50 ms apart", Pieces({9}, 50ms), 4, 0},
        {"header cut, then the rest in two pieces", Pieces({3, 10}, 50ms), 4, 0},
        {"another unit",
         [](const Bytes& r) {
             return qav::test::Send(
                 qav::test::Frame(qav::test::TransactionId(r), 2, {0x03, 0x04, 1, 2, 3, 4}));
         },
         MB_ERR_FRAME, 0},
        {"exception 2", [](const Bytes& r) { return qav::test::Send(qav::test::ExceptionReply(r, 2)); },
         MB_ERR_EXCEPTION, 2},
        {"gateway exception 11",
         [](const Bytes& r) { return qav::test::Send(qav::test::ExceptionReply(r, 11)); }, MB_ERR_EXCEPTION,
         11},
        {"exception without its code", Raw(2, 1, {0x83}), MB_ERR_FRAME, 0},
        {"unit only", Raw(1, 1, {}, {0x03, 0x04, 1, 2, 3, 4}), MB_ERR_FRAME, 0},
        {"byte count beyond the frame", Raw(7, 1, {0x03, 60, 1, 2, 3, 4}, sixtyBytes), MB_ERR_FRAME, 0},
        {"byte count one beyond the frame", Raw(7, 1, {0x03, 5, 1, 2, 3, 4}, sixtyBytes), MB_ERR_FRAME, 0},
        {"length that can never fit the receive buffer", Raw(1018, 1, {0x03, 4, 1, 2, 3, 4}, sixtyBytes),
         MB_ERR_FRAME, 0},
        {"largest length", Raw(0xFFFF, 1, {0x03, 4, 1, 2, 3, 4}, sixtyBytes), MB_ERR_FRAME, 0},
    };
    for (const ReplyCase& c : cases) {
        SCOPED_TRACE(c.name);
        server.Then(c.responder);
        const ReadOutcome outcome = Read(1, 10, 2, 64);
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(MODBUS_GetDeviceError(), c.deviceError);
        if (c.result > 0) {
            EXPECT_TRUE(HoldsDeviceRegisters(outcome.buffer.data(), 10, 2));
            EXPECT_TRUE(outcome.UntouchedFrom(static_cast<std::size_t>(c.result)));
        } else {
            EXPECT_TRUE(outcome.UntouchedFrom(0));
        }
    }
}

TEST_F(TcpLink, LateReplyToATimedOutAttemptIsSkippedByTheRetry) {
    // The first reply comes halfway through the second attempt, just before the reply to the second.
    DLL_SetIOTimeout(1000);
    server.Then([](const Bytes& request) {
        Answer answer = qav::test::DeviceAnswer(request);
        answer.pieces.front().delay = 1500ms;
        return answer;
    });
    const ReadOutcome outcome = Read(1, 40, 3, 64, 1);
    EXPECT_EQ(outcome.result, 6);
    EXPECT_TRUE(HoldsDeviceRegisters(outcome.buffer.data(), 40, 3));
    EXPECT_EQ(server.RequestCount(), 2u);
}

TEST_F(TcpLink, SilenceTimesOutAfterEveryAttempt) {
    server.SetDefault(Silence);
    DLL_SetIOTimeout(200);
    const auto start = Clock::now();
    EXPECT_EQ(Read(1, 0, 2, 64, 2).result, MB_ERR_TIMEOUT);
    const auto elapsed = Clock::now() - start;
    EXPECT_GE(elapsed, 3 * 200ms - 20ms);
    EXPECT_LT(elapsed, 3 * 200ms + kPatience);
    ASSERT_TRUE(server.WaitForRequests(3, kPatience));
    std::this_thread::sleep_for(100ms);  // a fourth request would be on its way by now
    EXPECT_EQ(server.RequestCount(), 3u);
}

TEST_F(TcpLink, ReplyDataAgainstTheCallersBuffer) {
    struct Case {
        const char* name;
        int32_t count, size, result;
    };
    const Case cases[] = {
        {"25 registers into exactly 50 bytes", 25, 50, 50},
        {"25 registers into 51 bytes", 25, 51, 50},
        {"25 registers into 49 bytes", 25, 49, MB_ERR_BUFFER},
        {"1 register into 1 byte", 1, 1, MB_ERR_BUFFER},
        {"125 registers into 250 bytes", 125, 250, 250},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ReadOutcome outcome = Read(1, 100, c.count, c.size);
        EXPECT_EQ(outcome.result, c.result);
        if (c.result > 0) {
            EXPECT_TRUE(HoldsDeviceRegisters(outcome.buffer.data(), 100, c.count));
        }
        EXPECT_TRUE(outcome.UntouchedFrom(c.result > 0 ? static_cast<std::size_t>(c.result) : 0));
    }
    EXPECT_EQ(MODBUS_Read03(1, 100, 1, nullptr, 10, 0), MB_ERR_BUFFER);
}

TEST_F(TcpLink, ReadResultIsTheReplysByteCountNotTheRequestedCount) {
    server.Then([](const Bytes& request) { return qav::test::Send(qav::test::ReadReply(request, {9, 8})); });
    const ReadOutcome outcome = Read(1, 0, 3, 64);
    EXPECT_EQ(outcome.result, 2);
    EXPECT_EQ(Word(outcome.buffer.data()), 0x0908);
    EXPECT_TRUE(outcome.UntouchedFrom(2));
}

TEST_F(TcpLink, WriteEcho) {
    // Changes one byte of the echo: 7 function, 8-9 register, 10-11 value.
    const auto echoChanged = [](std::size_t at) -> Responder {
        return [at](const Bytes& request) {
            Bytes echo = qav::test::EchoReply(request);
            echo[at] ^= 0x01;
            return qav::test::Send(echo);
        };
    };
    struct Case {
        const char* name;
        Responder responder;
        int32_t result;
        uint32_t deviceError;
    };
    const Case cases[] = {
        {"exact echo", qav::test::DeviceAnswer, 1, 0},
        {"function differs", echoChanged(7), MB_ERR_ECHO, 0},
        {"register differs", echoChanged(9), MB_ERR_ECHO, 0},
        {"value differs", echoChanged(11), MB_ERR_ECHO, 0},
        {"echo cut short", Raw(5, 1, {0x06, 0x03, 0x87, 0x00}), MB_ERR_FRAME, 0},
        {"exception 3", [](const Bytes& r) { return qav::test::Send(qav::test::ExceptionReply(r, 3)); },
         MB_ERR_EXCEPTION, 3},
    };
    const int32_t value = 55;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server.Then(c.responder);
        EXPECT_EQ(MODBUS_Write06(1, 903, &value, 0), c.result);
        EXPECT_EQ(MODBUS_GetDeviceError(), c.deviceError);
    }
}

TEST_F(TcpLink, ExceptionOnEveryAttempt) {
    server.SetDefault([](const Bytes& r) { return qav::test::Send(qav::test::ExceptionReply(r, 2)); });
    EXPECT_EQ(Read(1, 0, 2, 64, 3).result, MB_ERR_EXCEPTION);
    EXPECT_EQ(MODBUS_GetDeviceError(), 2u);
    EXPECT_EQ(server.RequestCount(), 4u);
}

// A loopback port where nothing listens: bound but not listening, so nobody else takes it meanwhile.
class RefusingPort {
public:
    RefusingPort() : fd_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        bind(fd_, reinterpret_cast<sockaddr*>(&address), size);
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
    }
    ~RefusingPort() { close(fd_); }
    int32_t Port() const { return port_; }

private:
    int fd_;
    int32_t port_ = 0;
};

TEST(TcpOpen, FailuresAndTheSocketLeftAllocated) {
    const RefusingPort refusing;
    ASSERT_NE(refusing.Port(), 0);
    const ScriptedTcpServer listening;  // out-of-range ports must not wrap round to it
    struct Case {
        const char* name;
        const char16_t* address;
        int32_t port, result, isOpenAfter;
    };
    const Case cases[] = {
        {"null address", nullptr, 502, -3, 0},
        {"host name", u"localhost", refusing.Port(), -4, 1},
        {"not an address", u"127.0.0.x", refusing.Port(), -4, 1},
        {"empty address", u"", refusing.Port(), -4, 1},
        {"connection refused", kLoopback, refusing.Port(), -4, 1},
        {"port beyond 65535", kLoopback, listening.Port() + 65536, -4, 1},
        {"negative port", kLoopback, listening.Port() - 65536, -4, 1},
        {"port 0", kLoopback, 0, -4, 1},
    };
    uint8_t buffer[8];
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TCP_Close();
        EXPECT_EQ(TCP_Open(c.address, c.port), c.result);
        // A failed open keeps its socket until the caller closes; the link is not usable meanwhile.
        EXPECT_EQ(TCP_IsOpen(), c.isOpenAfter);
        EXPECT_EQ(MODBUS_Read03(1, 0, 1, buffer, sizeof buffer, 0), MB_ERR_IO);
        EXPECT_EQ(TCP_Close(), 0);
        EXPECT_EQ(TCP_IsOpen(), 0);
    }
    EXPECT_FALSE(listening.WaitForConnections(1, 100ms));
}

TEST(TcpOpen, ReopeningReplacesTheConnection) {
    ScriptedTcpServer first;
    ScriptedTcpServer second;
    DLL_SetIOTimeout(kTimeoutMs);
    ASSERT_EQ(TCP_Open(kLoopback, first.Port()), 0);
    ASSERT_EQ(TCP_Open(kLoopback, second.Port()), 0);
    EXPECT_EQ(Read(1, 0, 1, 8).result, 2);
    EXPECT_EQ(first.RequestCount(), 0u);
    EXPECT_EQ(second.RequestCount(), 1u);
    EXPECT_EQ(TCP_Close(), 0);
    EXPECT_EQ(TCP_IsOpen(), 0);
    EXPECT_EQ(Read(1, 0, 1, 8).result, MB_ERR_IO);
}

TEST_F(TcpLink, PeerThatClosesNeverTakesTheProcessDown) {
    std::signal(SIGPIPE, SIG_DFL);  // a send without MSG_NOSIGNAL would end this process
    DLL_SetIOTimeout(300);
    server.Then(qav::test::DeviceAnswer);
    server.Then([](const Bytes&) { return Answer{{}, true}; });
    server.SetDefault(Silence);
    EXPECT_EQ(Read(1, 0, 1, 8).result, 2);
    // The peer closes on this request: the receiver ends and the attempt times out.
    EXPECT_EQ(Read(1, 0, 1, 8).result, MB_ERR_TIMEOUT);
    // The kernel decides whether the next send still succeeds (time-out) or fails; a failed send closes the
    // link, and the call then reports the closed link.
    int32_t result = MB_ERR_TIMEOUT;
    for (int call = 0; call < 5 && result == MB_ERR_TIMEOUT; ++call) {
        result = Read(1, 0, 1, 8).result;
    }
    EXPECT_EQ(result, MB_ERR_IO);
    EXPECT_EQ(TCP_IsOpen(), 0);
    const int32_t value = 1;
    EXPECT_EQ(MODBUS_Write06(1, 0, &value, 3), MB_ERR_IO);
    EXPECT_EQ(Read(1, 0, 1, 8, 3).result, MB_ERR_IO);
    EXPECT_EQ(server.WaitForConnections(1, kPatience), true);
}

TEST_F(TcpLink, CloseReleasesEveryCallerPromptly) {
    constexpr uint32_t kLongTimeoutMs = 20000;
    server.SetDefault(Silence);
    DLL_SetIOTimeout(kLongTimeoutMs);
    // One caller inside a transaction, then more than the gates admit waiting behind it.
    constexpr int kReaders = 7;
    constexpr int kWriters = 7;
    std::vector<int32_t> results(1 + kReaders + kWriters, 0);
    std::vector<std::thread> callers;
    callers.emplace_back([&] { results[0] = Read(1, 0, 1, 8, 5).result; });
    ASSERT_TRUE(server.WaitForRequests(1, kPatience));
    for (int i = 1; i < 1 + kReaders + kWriters; ++i) {
        callers.emplace_back([&results, i] {
            const int32_t value = i;
            results[i] = i <= kReaders ? Read(1, i, 1, 8, 5).result : MODBUS_Write06(1, i, &value, 5);
        });
    }
    std::this_thread::sleep_for(200ms);  // let them reach the gates and the bus

    const auto start = Clock::now();
    EXPECT_EQ(TCP_Close(), 0);
    const auto closeTook = Clock::now() - start;
    for (std::thread& caller : callers) {
        caller.join();
    }
    const auto allReturned = Clock::now() - start;
    EXPECT_LT(closeTook, 2s);
    EXPECT_LT(allReturned, std::chrono::milliseconds(kLongTimeoutMs / 2));
    for (std::size_t i = 0; i < results.size(); ++i) {
        EXPECT_EQ(results[i], MB_ERR_IO) << "caller " << i;
    }
    EXPECT_EQ(server.RequestCount(), 1u);
    EXPECT_EQ(TCP_IsOpen(), 0);
    EXPECT_EQ(Read(1, 0, 1, 8).result, MB_ERR_IO);

    server.SetDefault(qav::test::DeviceAnswer);
    DLL_SetIOTimeout(kTimeoutMs);
    ASSERT_EQ(TCP_Open(kLoopback, server.Port()), 0);
    EXPECT_EQ(Read(1, 0, 1, 8).result, 2);
}

TEST_F(TcpLink, CloseOfAnIdleLinkDoesNotWaitForTheReceiver) {
    // The receiver sits in recv() with a one-second time-out; the close must not wait for it.
    ASSERT_EQ(Read(1, 0, 1, 8).result, 2);
    std::this_thread::sleep_for(50ms);
    const auto start = Clock::now();
    EXPECT_EQ(TCP_Close(), 0);
    EXPECT_LT(Clock::now() - start, 2s);
    EXPECT_EQ(TCP_IsOpen(), 0);
}

TEST_F(TcpLink, ConcurrentReadersGetTheirOwnBlocks) {
    constexpr int kThreads = 4;
    constexpr int kReads = 300;
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &wrong] {
            for (int i = 0; i < kReads; ++i) {
                const int32_t first = 1000 * t + i;
                const int32_t count = 1 + (t + i) % 9;
                const ReadOutcome outcome = Read(1, first, count, 64);
                if (outcome.result != 2 * count ||
                    !HoldsDeviceRegisters(outcome.buffer.data(), first, count) ||
                    !outcome.UntouchedFrom(static_cast<std::size_t>(2 * count))) {
                    ++wrong;
                }
            }
        });
    }
    threads.emplace_back([&wrong] {
        for (int32_t value = 0; value < kReads; ++value) {
            if (MODBUS_Write06(1, 903, &value, 0) != 1) {
                ++wrong;
            }
        }
    });
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(server.RequestCount(), static_cast<std::size_t>((kThreads + 1) * kReads));
}

// The library against libmodbus, an independent Modbus TCP server with 100 holding registers.
class TcpAgainstLibmodbus : public testing::Test {
protected:
    void SetUp() override {
        DLL_SetIOTimeout(kTimeoutMs);
        ASSERT_EQ(TCP_Open(kLoopback, peer.Port()), 0);
    }
    void TearDown() override { TCP_Close(); }

    ModbusTcpPeer peer{100};
};

TEST_F(TcpAgainstLibmodbus, ReadsAndWritesRoundTrip) {
    ReadOutcome outcome = Read(1, 0, 9, 18);
    ASSERT_EQ(outcome.result, 18);
    EXPECT_TRUE(HoldsDeviceRegisters(outcome.buffer.data(), 0, 9));
    EXPECT_TRUE(outcome.UntouchedFrom(18));

    for (const int32_t value : {55, 0, 0x8001, -1}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(MODBUS_Write06(247, 20, &value, 0), 1);
        EXPECT_EQ(peer.Register(20), static_cast<uint16_t>(value));
        outcome = Read(247, 19, 3, 6);
        ASSERT_EQ(outcome.result, 6);
        EXPECT_EQ(Word(outcome.buffer.data() + 2), static_cast<uint16_t>(value));
        EXPECT_EQ(Word(outcome.buffer.data()), RegisterValue(19));
        EXPECT_EQ(Word(outcome.buffer.data() + 4), RegisterValue(21));
    }
    EXPECT_EQ(Read(1, 0, 100, 200).result, 200);
}

TEST_F(TcpAgainstLibmodbus, Exceptions) {
    struct Case {
        const char* name;
        std::function<int32_t()> call;
        uint32_t deviceError;
    };
    const Case cases[] = {
        {"read beyond the registers", [] { return Read(1, 95, 10, 64, 1).result; }, 2},
        {"write beyond the registers",
         [] {
             const int32_t value = 1;
             return MODBUS_Write06(1, 100, &value, 1);
         },
         2},
        {"read of more than 125 registers", [] { return Read(1, 0, 126, 512).result; }, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.call(), MB_ERR_EXCEPTION);
        EXPECT_EQ(MODBUS_GetDeviceError(), c.deviceError);
    }
    EXPECT_EQ(Read(1, 0, 1, 8).result, 2);
    EXPECT_EQ(MODBUS_GetDeviceError(), 0u);
}

}  // namespace

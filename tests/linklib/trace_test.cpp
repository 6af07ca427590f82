// The trace hook through the exported interface, against the relay simulator over TCP, RTU and ASCII: the
// exact bytes of every attempt, results and device errors, and switching the hook while transactions run.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "QAV508DLL.h"
#include "serial_frames.h"
#include "sim_process.h"

namespace {

using namespace std::chrono_literals;
using qav::test::SimProcess;
using qav::test::serial::Bytes;
using qav::test::serial::Framing;
using Clock = std::chrono::steady_clock;

constexpr auto kPatience = 10s;

struct Event {
    int32_t direction;
    Bytes bytes;
    int32_t result;
    uint32_t deviceError;  // read inside the callback
};

// Keeps every report; the tests read it after the transactions have returned.
struct Recorder {
    std::mutex mutex;
    std::vector<Event> events;

    static void Callback(void* context, int32_t direction, const uint8_t* bytes, int32_t size,
                         int32_t result) {
        auto* self = static_cast<Recorder*>(context);
        std::lock_guard lock(self->mutex);
        self->events.push_back(
            {direction, Bytes(bytes, bytes + size), result, direction == 1 ? MODBUS_GetDeviceError() : 0});
    }

    std::vector<Event> Take() {
        std::lock_guard lock(mutex);
        return std::exchange(events, {});
    }
};

struct Transport {
    const char* name;
    SimProcess::Serial serial;  // kNone: Modbus TCP
    Framing framing;
};

void PrintTo(const Transport& transport, std::ostream* out) {
    *out << transport.name;
}

// Opens the link to a fresh simulator before each test, and closes it and clears the hook after.
class Trace : public testing::TestWithParam<Transport> {
protected:
    void SetUp() override {
        sim_ = std::make_unique<SimProcess>(std::vector<std::string>{}, GetParam().serial);
        DLL_SetIOTimeout(1000);
        if (Tcp()) {
            ASSERT_EQ(TCP_Open(u"127.0.0.1", sim_->TcpPort()), 0);
        } else {
            DLL_SetIOProtocol(GetParam().framing == Framing::Ascii ? 1 : 0);
            const std::u16string port(sim_->SerialPath().begin(), sim_->SerialPath().end());
            ASSERT_EQ(COM_Open(port.c_str()), 0);
            ASSERT_EQ(COM_Setup(1, 1, 0, 0), 0);
        }
    }

    void TearDown() override {
        DLL_SetTraceCallback(nullptr, nullptr);
        TCP_Close();
        COM_Close();
        DLL_SetIOProtocol(0);
    }

    bool Tcp() const { return GetParam().serial == SimProcess::Serial::kNone; }

    // The frame of `binary` (address and PDU) as it is on the wire; on TCP with the transaction id `id`.
    Bytes Wire(const Bytes& binary, uint16_t id) const {
        if (!Tcp()) {
            return qav::test::serial::Frame(GetParam().framing, binary);
        }
        const auto length = static_cast<uint16_t>(binary.size());
        Bytes frame{static_cast<uint8_t>(id >> 8),     static_cast<uint8_t>(id),    0, 0,
                    static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length)};
        frame.insert(frame.end(), binary.begin(), binary.end());
        return frame;
    }

    // The transaction id a TCP request carries; 0 on a serial link.
    uint16_t Id(const Event& sent) const {
        return Tcp() && sent.bytes.size() >= 2 ? static_cast<uint16_t>(sent.bytes[0] << 8 | sent.bytes[1])
                                               : 0;
    }

    std::unique_ptr<SimProcess> sim_;
    Recorder recorder_;
};

TEST_P(Trace, EveryAttemptWithItsExactBytesResultAndDeviceError) {
    DLL_SetTraceCallback(&Recorder::Callback, &recorder_);
    uint8_t buffer[16] = {};
    ASSERT_EQ(MODBUS_Read03(1, 0, 2, buffer, sizeof buffer, 0), 4);  // identity 26, firmware 15
    const int32_t rated = 50;
    ASSERT_EQ(MODBUS_Write06(1, 151, &rated, 0), 1);
    const int32_t tooHigh = 631;
    ASSERT_EQ(MODBUS_Write06(1, 151, &tooHigh, 0), MB_ERR_EXCEPTION);

    const std::vector<Event> events = recorder_.Take();
    ASSERT_EQ(events.size(), 6u);
    const uint16_t id = Id(events[0]);
    struct Expected {
        Bytes request;
        Bytes reply;
        int32_t result;
        uint32_t deviceError;
    };
    const Expected expected[] = {
        {{0x01, 0x03, 0x00, 0x00, 0x00, 0x02}, {0x01, 0x03, 0x04, 0x00, 0x1A, 0x00, 0x0F}, 4, 0},
        {{0x01, 0x06, 0x00, 0x97, 0x00, 0x32}, {0x01, 0x06, 0x00, 0x97, 0x00, 0x32}, 1, 0},
        {{0x01, 0x06, 0x00, 0x97, 0x02, 0x77}, {0x01, 0x86, 0x03}, MB_ERR_EXCEPTION, 3},
    };
    for (std::size_t k = 0; k < std::size(expected); ++k) {
        SCOPED_TRACE(k);
        const Event& sent = events[2 * k];
        const Event& received = events[2 * k + 1];
        const auto tid = static_cast<uint16_t>(Tcp() ? id + k : 0);
        EXPECT_EQ(sent.direction, QAV_TRACE_SENT);
        EXPECT_EQ(sent.bytes, Wire(expected[k].request, tid));
        EXPECT_EQ(sent.result, 0);
        EXPECT_EQ(received.direction, QAV_TRACE_RECEIVED);
        EXPECT_EQ(received.bytes, Wire(expected[k].reply, tid));
        EXPECT_EQ(received.result, expected[k].result);
        EXPECT_EQ(received.deviceError, expected[k].deviceError);
    }
}

TEST_P(Trace, SilentDeviceTracesEveryAttemptAsATimeOut) {
    ASSERT_EQ(sim_->Command("drop 1").substr(0, 2), "ok");
    DLL_SetIOTimeout(150);
    DLL_SetTraceCallback(&Recorder::Callback, &recorder_);
    uint8_t buffer[16] = {};
    ASSERT_EQ(MODBUS_Read03(1, 0, 2, buffer, sizeof buffer, 1), MB_ERR_TIMEOUT);

    const std::vector<Event> events = recorder_.Take();
    ASSERT_EQ(events.size(), 4u) << "two attempts, each sent and ended";
    for (std::size_t k = 0; k < 2; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(events[2 * k].direction, QAV_TRACE_SENT);
        EXPECT_EQ(events[2 * k].bytes, Wire({0x01, 0x03, 0x00, 0x00, 0x00, 0x02}, Id(events[2 * k])));
        EXPECT_EQ(events[2 * k + 1].direction, QAV_TRACE_RECEIVED);
        EXPECT_TRUE(events[2 * k + 1].bytes.empty());
        EXPECT_EQ(events[2 * k + 1].result, MB_ERR_TIMEOUT);
    }
}

TEST_P(Trace, NothingIsReportedOnceTheHookIsOff) {
    DLL_SetTraceCallback(&Recorder::Callback, &recorder_);
    uint8_t buffer[16] = {};
    ASSERT_EQ(MODBUS_Read03(1, 0, 1, buffer, sizeof buffer, 0), 2);
    EXPECT_EQ(recorder_.Take().size(), 2u);
    DLL_SetTraceCallback(nullptr, &recorder_);
    ASSERT_EQ(MODBUS_Read03(1, 0, 1, buffer, sizeof buffer, 0), 2);
    EXPECT_TRUE(recorder_.Take().empty());
}

INSTANTIATE_TEST_SUITE_P(Links, Trace,
                         testing::Values(Transport{"Tcp", SimProcess::Serial::kNone, Framing::Rtu},
                                         Transport{"Rtu", SimProcess::Serial::kRtu, Framing::Rtu},
                                         Transport{"Ascii", SimProcess::Serial::kAscii, Framing::Ascii}),
                         [](const testing::TestParamInfo<Transport>& param) { return param.param.name; });

template <typename Condition>
bool WaitFor(Condition condition) {
    const auto deadline = Clock::now() + kPatience;
    while (!condition()) {
        if (Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::yield();
    }
    return true;
}

// One context of the hook. The callback lingers, so that a switch often comes while a call is in progress.
struct Watched {
    std::atomic<bool> replaced{false};
    std::atomic<int> calls{0};
    std::atomic<int> callsAfterReplaced{0};

    static void Callback(void* context, int32_t, const uint8_t*, int32_t, int32_t) {
        auto* self = static_cast<Watched*>(context);
        ++self->calls;
        if (self->replaced) {
            ++self->callsAfterReplaced;
        }
        std::this_thread::sleep_for(200us);
        if (self->replaced) {
            ++self->callsAfterReplaced;
        }
    }
};

// A context is never used once the call that replaced it (by another context or by none) has returned.
TEST(TraceSwitch, NoCallWithAContextAfterItWasReplaced) {
    SimProcess sim;
    ASSERT_EQ(TCP_Open(u"127.0.0.1", sim.TcpPort()), 0);
    DLL_SetIOTimeout(1000);

    std::atomic<bool> stop{false};
    std::atomic<int> transactions{0};
    std::thread worker([&] {
        uint8_t buffer[32];
        while (!stop) {
            if (MODBUS_Read03(1, 0, 2, buffer, sizeof buffer, 0) == 4) {
                ++transactions;
            }
        }
    });

    constexpr int kRounds = 60;
    std::vector<std::unique_ptr<Watched>> contexts;
    for (int round = 0; round < kRounds; ++round) {
        auto next = std::make_unique<Watched>();
        // Every third round goes through "off", the others replace one context by the next directly.
        if (round % 3 == 0) {
            DLL_SetTraceCallback(nullptr, nullptr);
            if (!contexts.empty()) {
                contexts.back()->replaced = true;
            }
        }
        DLL_SetTraceCallback(&Watched::Callback, next.get());
        if (!contexts.empty()) {
            contexts.back()->replaced = true;
        }
        const bool used = WaitFor([&] { return next->calls >= 3; });
        contexts.push_back(std::move(next));
        if (!used) {
            ADD_FAILURE() << "round " << round << ": the callback was not called";
            break;
        }
    }
    DLL_SetTraceCallback(nullptr, nullptr);
    contexts.back()->replaced = true;
    const int before = transactions;
    EXPECT_TRUE(WaitFor([&] { return transactions >= before + 20; }))
        << "transactions go on without the hook";
    stop = true;
    worker.join();
    TCP_Close();

    for (std::size_t k = 0; k < contexts.size(); ++k) {
        EXPECT_EQ(contexts[k]->callsAfterReplaced, 0) << "context " << k;
    }
}

}  // namespace

// Fault injection seen from independent masters: time-outs, checksum errors, exceptions, silence, closed
// connections, delays, and the relay's own restart.
#include <gtest/gtest.h>

#include <string>

#include "QAV508DLL.h"
#include "modbus_client.h"
#include "sim_process.h"

namespace qav::sim {
namespace {

using namespace std::chrono_literals;
using qav::test::SimProcess;
using test::Eventually;
using test::Read;
using test::TcpClient;

struct SerialLink {
    SerialLink(const std::string& path, uint32_t protocol) {
        DLL_SetIOProtocol(protocol);
        DLL_SetIOTimeout(300);
        const std::u16string port(path.begin(), path.end());
        opened = COM_Open(port.c_str()) == 0 && COM_Setup(1, 1, 0, 0) == 0;
    }
    ~SerialLink() { COM_Close(); }
    int32_t ReadIdentity() {
        uint8_t buffer[20];
        return MODBUS_Read03(1, 0, 2, buffer, sizeof buffer, 0);
    }
    bool opened = false;
};

TEST(SimFaults, SerialFaultsAsTheLinkLibrarySeesThem) {
    struct Case {
        SimProcess::Serial serial;
        uint32_t protocol;
        const char* command;
        int32_t result;
        uint32_t deviceError;
    };
    const Case cases[] = {
        {SimProcess::Serial::kRtu, 0, "corrupt 1", MB_ERR_CHECKSUM, 0},
        {SimProcess::Serial::kAscii, 1, "corrupt 1", MB_ERR_CHECKSUM, 0},
        {SimProcess::Serial::kRtu, 0, "drop 1", MB_ERR_TIMEOUT, 0},
        {SimProcess::Serial::kAscii, 1, "exception 1 6", MB_ERR_EXCEPTION, 6},
        {SimProcess::Serial::kRtu, 0, "silence 30", MB_ERR_TIMEOUT, 0},
    };
    for (const Case& c : cases) {
        SimProcess sim({}, c.serial);
        SerialLink link(sim.SerialPath(), c.protocol);
        ASSERT_TRUE(link.opened);
        ASSERT_EQ(link.ReadIdentity(), 4) << c.command;
        ASSERT_EQ(sim.Command(c.command), "ok");
        EXPECT_EQ(link.ReadIdentity(), c.result) << c.command;
        if (c.result == MB_ERR_EXCEPTION) {
            EXPECT_EQ(MODBUS_GetDeviceError(), c.deviceError);
        }
    }
}

TEST(SimFaults, AShareOfRequestsFails) {
    SimProcess sim({"--corrupt", "0.5", "--seed", "3"}, SimProcess::Serial::kRtu);
    SerialLink link(sim.SerialPath(), 0);
    ASSERT_TRUE(link.opened);
    int good = 0;
    int corrupt = 0;
    for (int k = 0; k < 40; ++k) {
        const int32_t result = link.ReadIdentity();
        good += result == 4 ? 1 : 0;
        corrupt += result == MB_ERR_CHECKSUM ? 1 : 0;
    }
    EXPECT_EQ(good + corrupt, 40);
    EXPECT_GT(good, 8);
    EXPECT_GT(corrupt, 8);
}

TEST(SimFaults, TcpExceptionsDropsAndDelays) {
    SimProcess sim;
    auto ctx = TcpClient(sim.TcpPort(), 1, 300ms);
    ASSERT_TRUE(ctx);
    ASSERT_EQ(sim.Command("exception 1 6"), "ok");
    EXPECT_TRUE(Read(ctx.get(), 0, 2).empty());
    EXPECT_EQ(errno, EMBXSBUSY);
    ASSERT_EQ(sim.Command("exception 0"), "ok");
    ASSERT_EQ(sim.Command("drop 1"), "ok");
    EXPECT_TRUE(Read(ctx.get(), 0, 2).empty());
    EXPECT_EQ(errno, ETIMEDOUT);
    ASSERT_EQ(sim.Command("drop 0"), "ok");
    modbus_flush(ctx.get());

    ASSERT_EQ(sim.Command("delay 500"), "ok");
    EXPECT_TRUE(Read(ctx.get(), 0, 2).empty()) << "later than the 300 ms time-out";
    test::SetTimeout(ctx.get(), 5s);
    std::this_thread::sleep_for(600ms);
    modbus_flush(ctx.get());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Read(ctx.get(), 0, 2).size(), 2u);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 500ms);
}

TEST(SimFaults, SilenceEnds) {
    SimProcess sim;
    auto ctx = TcpClient(sim.TcpPort(), 1, 200ms);
    ASSERT_TRUE(ctx);
    ASSERT_EQ(sim.Command("silence 1"), "ok");
    EXPECT_TRUE(Read(ctx.get(), 0, 1).empty());
    EXPECT_TRUE(Eventually([&] {
        modbus_flush(ctx.get());
        return !Read(ctx.get(), 0, 1).empty();
    }));
}

TEST(SimFaults, SilenceFromTheCommandLine) {
    SimProcess sim({"--silence", "0:30"});
    auto ctx = TcpClient(sim.TcpPort(), 1, 300ms);
    ASSERT_TRUE(ctx);
    EXPECT_TRUE(Read(ctx.get(), 0, 1).empty());
    EXPECT_NE(sim.Command("faults").find("silent=1"), std::string::npos);
}

TEST(SimFaults, ClosingConnections) {
    SimProcess sim;
    auto ctx = TcpClient(sim.TcpPort());
    ASSERT_TRUE(ctx);
    ASSERT_EQ(Read(ctx.get(), 0, 1).size(), 1u);
    ASSERT_EQ(sim.Command("close"), "ok");
    EXPECT_TRUE(Read(ctx.get(), 0, 1).empty()) << "the server closed the connection";
    auto again = TcpClient(sim.TcpPort());
    ASSERT_TRUE(again);
    EXPECT_EQ(Read(again.get(), 0, 1).size(), 1u) << "new connections are welcome";

    ASSERT_EQ(sim.Command("close 1"), "ok");
    EXPECT_TRUE(Read(again.get(), 0, 1).empty());
    EXPECT_TRUE(Eventually([&] { return sim.Command("state").find("connections=0") != std::string::npos; }));
    EXPECT_EQ(sim.Stop(), 0) << "a clean exit";
}

TEST(SimFaults, RestartCommandSilencesTheRelayForAboutTwoSeconds) {
    SimProcess sim({"--param", "151=50", "--running"});
    auto ctx = TcpClient(sim.TcpPort(), 1, 200ms);
    ASSERT_TRUE(ctx);
    ASSERT_EQ(modbus_write_register(ctx.get(), 903, 88), 1) << "the command itself is acknowledged";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(Read(ctx.get(), 0, 1).empty());
    EXPECT_TRUE(Eventually([&] {
        modbus_flush(ctx.get());
        return !Read(ctx.get(), 0, 1).empty();
    }));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 1500ms);
    EXPECT_EQ(Read(ctx.get(), 900, 1).at(0) & 2, 0) << "the motor stopped";
}

}  // namespace
}  // namespace qav::sim

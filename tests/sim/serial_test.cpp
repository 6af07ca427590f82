// The simulator process on its pseudo-terminal: RTU driven by libmodbus, ASCII by the link library.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "QAV508DLL.h"
#include "modbus_client.h"
#include "sim_process.h"

namespace qav::sim {
namespace {

using namespace std::chrono_literals;
using qav::test::SimProcess;
using test::Read;
using test::RtuClient;
using test::TcpClient;

TEST(SimRtu, ServesItsAddressAndStaysSilentForOthers) {
    SimProcess sim({"--address", "5"}, SimProcess::Serial::kRtu);
    struct stat link {};
    ASSERT_EQ(lstat(sim.SerialPath().c_str(), &link), 0);
    EXPECT_TRUE(S_ISLNK(link.st_mode));

    auto other = RtuClient(sim.SerialPath(), 1, 300ms);
    ASSERT_TRUE(other);
    EXPECT_TRUE(Read(other.get(), 0, 2).empty());
    EXPECT_EQ(errno, ETIMEDOUT);
    other.reset();

    auto ctx = RtuClient(sim.SerialPath(), 5);
    ASSERT_TRUE(ctx);
    EXPECT_EQ(Read(ctx.get(), 0, 2), (std::vector<uint16_t>{26, 15}));
    EXPECT_EQ(Read(ctx.get(), 222, 1), (std::vector<uint16_t>{5}));
    EXPECT_EQ(modbus_write_register(ctx.get(), 151, 50), 1);
    EXPECT_EQ(Read(ctx.get(), 151, 1), (std::vector<uint16_t>{50}));
    EXPECT_EQ(Read(ctx.get(), 1000, 125).size(), 125u);
    EXPECT_EQ(modbus_write_register(ctx.get(), 217, 1), -1);
    EXPECT_EQ(errno, EMBXILVAL);
}

TEST(SimRtu, BroadcastWriteIsCarriedOutSilently) {
    SimProcess sim({}, SimProcess::Serial::kRtu);
    auto broadcast = RtuClient(sim.SerialPath(), MODBUS_BROADCAST_ADDRESS, 300ms);
    ASSERT_TRUE(broadcast);
    // Depending on its version libmodbus waits for a reply to a broadcast or not; none comes either way.
    modbus_write_register(broadcast.get(), 151, 40);
    broadcast.reset();
    auto ctx = RtuClient(sim.SerialPath());
    ASSERT_TRUE(ctx);
    EXPECT_TRUE(test::Eventually([&] { return Read(ctx.get(), 151, 1) == std::vector<uint16_t>{40}; }, 3s));
}

TEST(SimRtu, TcpAndSerialShareOneRelay) {
    SimProcess sim({}, SimProcess::Serial::kRtu);
    auto tcp = TcpClient(sim.TcpPort());
    auto rtu = RtuClient(sim.SerialPath());
    ASSERT_TRUE(tcp && rtu);
    ASSERT_EQ(modbus_write_register(tcp.get(), 153, 120), 1);
    EXPECT_EQ(Read(rtu.get(), 153, 1), (std::vector<uint16_t>{120}));
    ASSERT_EQ(modbus_write_register(rtu.get(), 153, 130), 1);
    EXPECT_EQ(Read(tcp.get(), 153, 1), (std::vector<uint16_t>{130}));
    EXPECT_EQ(sim.Stop(), 0) << "a clean exit";
}

TEST(SimRtu, PacesRepliesAsTheLineWould) {
    SimProcess sim({"--baud", "9600"}, SimProcess::Serial::kRtu);
    auto ctx = RtuClient(sim.SerialPath());
    ASSERT_TRUE(ctx);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(Read(ctx.get(), 1000, 125).size(), 125u);
    // 255 reply bytes of 11 bits at 9600 bit/s take 292 ms on the line.
    EXPECT_GE(std::chrono::steady_clock::now() - start, 280ms);
}

// The link library is process-wide: one port at a time, closed after each test.
struct LinkLibrary {
    LinkLibrary(const std::string& path, uint32_t protocol) {
        DLL_SetIOProtocol(protocol);
        DLL_SetIOTimeout(500);
        const std::u16string port(path.begin(), path.end());
        opened = COM_Open(port.c_str()) == 0 && COM_Setup(1, 1, 0, 0) == 0;
    }
    ~LinkLibrary() { COM_Close(); }
    bool opened = false;
};

TEST(SimAscii, AnswersTheLinkLibrary) {
    SimProcess sim({}, SimProcess::Serial::kAscii);
    LinkLibrary link(sim.SerialPath(), 1);
    ASSERT_TRUE(link.opened);
    uint8_t buffer[20] = {};
    ASSERT_EQ(MODBUS_Read03(1, 0, 2, buffer, sizeof buffer, 0), 4);
    EXPECT_EQ(buffer[1], 26);
    EXPECT_EQ(buffer[3], 15);
    const int32_t rated = 50;
    EXPECT_EQ(MODBUS_Write06(1, 151, &rated, 0), 1);
    ASSERT_EQ(MODBUS_Read03(1, 151, 1, buffer, sizeof buffer, 0), 2);
    EXPECT_EQ(buffer[1], 50);
    const int32_t tooHigh = 631;
    EXPECT_EQ(MODBUS_Write06(1, 151, &tooHigh, 0), MB_ERR_EXCEPTION);
    EXPECT_EQ(MODBUS_GetDeviceError(), 3u);
    EXPECT_EQ(MODBUS_Read03(1, 76, 1, buffer, sizeof buffer, 0), MB_ERR_EXCEPTION);
    EXPECT_EQ(MODBUS_GetDeviceError(), 2u);
    EXPECT_EQ(MODBUS_Read03(2, 0, 1, buffer, sizeof buffer, 0), MB_ERR_TIMEOUT) << "another address";
    uint8_t journal[256];
    EXPECT_EQ(MODBUS_Read03(1, 1000, 125, journal, sizeof journal, 0), 250);
}

TEST(SimAscii, ClockSynchronisationAsThePanelDoesIt) {
    SimProcess sim({}, SimProcess::Serial::kAscii);
    LinkLibrary link(sim.SerialPath(), 1);
    ASSERT_TRUE(link.opened);
    const int32_t fields[] = {0x07, 0x06, 0x05, 0x29, 0x02, 0x24};  // 29.02.2024 05:06:07
    for (int k = 0; k < 6; ++k) {
        ASSERT_EQ(MODBUS_Write06(1, 80 + k, &fields[k], 0), 1) << k;
    }
    uint8_t buffer[20] = {};
    ASSERT_EQ(MODBUS_Read03(1, 80, 6, buffer, sizeof buffer, 0), 12);
    EXPECT_LE(buffer[1], 0x09);
    for (int k = 1; k < 6; ++k) {
        EXPECT_EQ(buffer[2 * k + 1], fields[k]) << k;
    }
}

}  // namespace
}  // namespace qav::sim

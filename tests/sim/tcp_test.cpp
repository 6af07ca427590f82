// The simulator process over Modbus TCP, driven by libmodbus, and its control channel.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "modbus_client.h"
#include "sim_process.h"

namespace qav::sim {
namespace {

using namespace std::chrono_literals;
using qav::test::SimProcess;
using test::Eventually;
using test::Read;
using test::TcpClient;

TEST(SimTcp, IdentifiesAndServesTheRegisterMap) {
    SimProcess sim;
    auto ctx = TcpClient(sim.TcpPort());
    ASSERT_TRUE(ctx);
    EXPECT_EQ(Read(ctx.get(), 0, 2), (std::vector<uint16_t>{26, 15}));
    EXPECT_EQ(Read(ctx.get(), 1000, 125).size(), 125u);
    EXPECT_EQ(Read(ctx.get(), 150, 97).size(), 97u);
    const auto measured = Read(ctx.get(), 45, 9);
    ASSERT_EQ(measured.size(), 9u);
    EXPECT_NEAR(measured[3], 400, 10) << "line voltage AB";

    EXPECT_TRUE(Read(ctx.get(), 2, 1).empty());
    EXPECT_EQ(errno, EMBXILADD);
    uint16_t words[4];
    EXPECT_EQ(modbus_read_input_registers(ctx.get(), 0, 2, words), -1);
    EXPECT_EQ(errno, EMBXILFUN);
    EXPECT_EQ(modbus_write_register(ctx.get(), 151, 631), -1);
    EXPECT_EQ(errno, EMBXILVAL);
    EXPECT_EQ(modbus_write_register(ctx.get(), 30, 1), -1);
    EXPECT_EQ(errno, EMBXILADD);
    EXPECT_EQ(modbus_write_register(ctx.get(), 151, 50), 1);
    EXPECT_EQ(Read(ctx.get(), 151, 1), (std::vector<uint16_t>{50}));

    // libmodbus refuses to ask for more than 125 registers itself, so the request goes raw.
    const uint8_t tooMany[] = {1, 0x03, 0x03, 0xE8, 0x00, 0x7E};
    ASSERT_GT(modbus_send_raw_request(ctx.get(), tooMany, sizeof tooMany), 0);
    uint8_t reply[MODBUS_TCP_MAX_ADU_LENGTH];
    EXPECT_EQ(modbus_receive_confirmation(ctx.get(), reply), 9);
    EXPECT_EQ(reply[7], 0x83);
    EXPECT_EQ(reply[8], 3);
}

TEST(SimTcp, SeveralClientsAtOnce) {
    SimProcess sim({"--param", "151=50", "--running"});
    constexpr int kClients = 6;
    std::atomic<int> good{0};
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back([&, c] {
            auto ctx = TcpClient(sim.TcpPort(), c % 2 == 0 ? 1 : 255);
            for (int k = 0; ctx && k < 200; ++k) {
                const bool read = Read(ctx.get(), 30, 6).size() == 6u;
                const bool wrote =
                    modbus_write_register(ctx.get(), 153, static_cast<uint16_t>(10 + k % 100)) == 1;
                good += read && wrote ? 1 : 0;
            }
        });
    }
    for (std::thread& t : clients) {
        t.join();
    }
    EXPECT_EQ(good, kClients * 200);
    EXPECT_NE(sim.Command("state").find("connections="), std::string::npos);
    EXPECT_EQ(sim.Stop(), 0) << "a clean exit (sanitizer builds fail it on leaks or races)";
}

TEST(SimTcp, MotorCommandsProtectionsAndJournal) {
    SimProcess sim({"--param", "151=50", "--param", "200=1"});
    auto ctx = TcpClient(sim.TcpPort());
    ASSERT_TRUE(ctx);
    ASSERT_EQ(modbus_write_register(ctx.get(), 903, 2), 1);
    EXPECT_TRUE(Eventually([&] { return (Read(ctx.get(), 900, 1).at(0) & 2) != 0; })) << "motor relay on";
    EXPECT_TRUE(Eventually([&] { return Read(ctx.get(), 30, 1).at(0) > 0; })) << "current flows";

    ASSERT_EQ(sim.Command("trip 0 520"), "ok");
    const auto status = Read(ctx.get(), 900, 3);
    ASSERT_EQ(status.size(), 3u);
    EXPECT_EQ(status[0] & 3, 1) << "alarm present, motor relay off";
    EXPECT_EQ(status[1], 1);
    EXPECT_EQ(Read(ctx.get(), 300, 1), (std::vector<uint16_t>{520}));
    const uint16_t newest = Read(ctx.get(), 75, 1).at(0);
    const auto entry = Read(ctx.get(), 1000 + 5 * newest, 5);
    ASSERT_EQ(entry.size(), 5u);
    EXPECT_EQ(entry[0], 0);
    EXPECT_EQ(entry[1], 520);

    ASSERT_EQ(modbus_write_register(ctx.get(), 903, 55), 1);
    EXPECT_EQ(Read(ctx.get(), 900, 3).at(1), 0);
    ASSERT_EQ(modbus_write_register(ctx.get(), 200, 0), 1);
    ASSERT_EQ(modbus_write_register(ctx.get(), 903, 2), 1) << "acknowledged, but without effect";
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(Read(ctx.get(), 900, 1).at(0) & 2, 0);
}

TEST(SimTcp, ClockReadsBackWhatWasSetAndRuns) {
    SimProcess sim;
    auto ctx = TcpClient(sim.TcpPort());
    ASSERT_TRUE(ctx);
    const uint16_t set[] = {0x10, 0x59, 0x23, 0x31, 0x12, 0x25};
    for (int k = 0; k < 6; ++k) {
        ASSERT_EQ(modbus_write_register(ctx.get(), 80 + k, set[k]), 1);
    }
    EXPECT_EQ(modbus_write_register(ctx.get(), 84, 0x13), -1);
    EXPECT_EQ(errno, EMBXILVAL);
    const auto now = Read(ctx.get(), 80, 6);
    ASSERT_EQ(now.size(), 6u);
    EXPECT_LE(now[0], 0x15);
    EXPECT_EQ(std::vector<uint16_t>(now.begin() + 1, now.end()),
              (std::vector<uint16_t>{0x59, 0x23, 0x31, 0x12, 0x25}));
    EXPECT_TRUE(Eventually([&] { return Read(ctx.get(), 80, 1).at(0) > now[0]; })) << "the clock runs";
}

TEST(SimTcp, StateNamesTheConnections) {
    SimProcess sim;
    auto first = TcpClient(sim.TcpPort());
    auto second = TcpClient(sim.TcpPort());
    ASSERT_TRUE(first && second);
    Read(first.get(), 0, 1);
    Read(second.get(), 0, 1);
    EXPECT_NE(sim.Command("state").find("connections=2"), std::string::npos);
    second.reset();
    EXPECT_TRUE(Eventually([&] { return sim.Command("state").find("connections=1") != std::string::npos; }));
}

}  // namespace
}  // namespace qav::sim

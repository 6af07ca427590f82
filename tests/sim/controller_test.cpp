// The control channel's commands on a relay without transports.
#include <gtest/gtest.h>

#include <string>

#include "controller.h"

namespace qav::sim {
namespace {

using namespace std::chrono_literals;

struct Rig {
    Rig() : relay(RelaySettings{}), faults({}, 1), controller(relay, faults, nullptr) {}

    std::string operator()(const std::string& line) { return controller.Execute(line); }
    uint16_t Value(uint16_t reg) {
        return relay.With([reg](Relay& r) { return r.Value(reg); });
    }
    void Advance(std::chrono::milliseconds step) {
        relay.With([step](Relay& r) { r.Advance(step); });
    }

    SharedRelay relay;
    FaultInjector faults;
    Controller controller;
};

TEST(Controller, ReadsAndForcesRegisters) {
    Rig run;
    EXPECT_EQ(run("get 0 2"), "ok 26 15");
    EXPECT_EQ(run("get 0x3"), "error: no such register");
    EXPECT_EQ(run("set 30 1234"), "ok");
    run.Advance(1s);
    EXPECT_EQ(run("get 30"), "ok 1234");
    EXPECT_EQ(run("release all"), "ok");
    EXPECT_EQ(run("get 30"), "ok 0");
    EXPECT_EQ(run("set 151 700"), "ok") << "beyond the limit a master has";
    EXPECT_EQ(run.Value(151), 700);
    EXPECT_EQ(run("set 203 -9"), "ok");
    EXPECT_EQ(run.Value(203), 0xFFF7);
    EXPECT_EQ(run("set 80 0x61"), "error: value refused");
}

TEST(Controller, StartsAndStopsFromTheFrontPanel) {
    Rig run;
    EXPECT_EQ(run("start").rfind("error:", 0), 0u) << "no rated current yet";
    EXPECT_EQ(run("set 151 50"), "ok");
    EXPECT_EQ(run("start"), "ok") << "parameter 200 does not bind the front panel";
    run.Advance(100ms);
    EXPECT_NE(run("state").find("motor=starting"), std::string::npos);
    EXPECT_EQ(run("stop"), "ok");
    EXPECT_EQ(run("stop").rfind("error:", 0), 0u);
}

TEST(Controller, RaisesTripsAndClearsAlarms) {
    Rig run;
    EXPECT_EQ(run("alarm 30 7"), "ok");
    EXPECT_EQ(run.Value(902), 1u << 14);
    EXPECT_EQ(run.Value(330), 7);
    EXPECT_EQ(run("trip 0 520"), "ok");
    EXPECT_EQ(run.Value(901), 1);
    EXPECT_EQ(run.Value(300), 520);
    EXPECT_EQ(run.Value(75), 1);
    EXPECT_EQ(run("clear 0"), "ok");
    EXPECT_EQ(run.Value(901), 0);
    EXPECT_EQ(run.Value(900) & 1, 1);
    EXPECT_EQ(run("clear all"), "ok");
    EXPECT_EQ(run.Value(900) & 1, 0);
    EXPECT_EQ(run("alarm 32"), "error: bad alarm bit '32'");
}

TEST(Controller, ChangesThePlantAndTheFaults) {
    Rig run;
    EXPECT_EQ(run("supply 300"), "ok");
    EXPECT_EQ(run("sensor 2 break"), "ok");
    EXPECT_EQ(run("set 204 1"), "ok");
    run.Advance(100ms);
    EXPECT_LT(run.Value(48), 310);
    EXPECT_EQ(run.Value(70), 2000);
    EXPECT_EQ(run("drop 0.5"), "ok");
    EXPECT_EQ(run("exception 0.25 6"), "ok");
    EXPECT_EQ(run("delay 40"), "ok");
    EXPECT_EQ(run("close 1"), "ok");
    EXPECT_EQ(run("close"), "ok") << "without a TCP server there is nothing to close";
    EXPECT_EQ(run("silence 5"), "ok");
    EXPECT_EQ(run("faults"), "ok drop=0.5 corrupt=0 exception=0.25 code=6 close=1 delay_ms=40 silent=1");
}

TEST(Controller, RefusesMalformedCommands) {
    Rig run;
    for (const char* line :
         {"", "   ", "bogus", "get", "get x", "get 0 126", "set 30", "set 2 1", "set 30 70000", "load -1",
          "frequency abc", "sensor 3 ok", "sensor 1 hot", "drop 1.5", "release x", "state now", "delay -5"}) {
        EXPECT_EQ(run(line).rfind("error:", 0), 0u) << "'" << line << "'";
    }
    EXPECT_FALSE(run.controller.QuitRequested());
    EXPECT_EQ(run("quit"), "ok");
    EXPECT_TRUE(run.controller.QuitRequested());
}

}  // namespace
}  // namespace qav::sim

// The simulator's command line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "options.h"

namespace qav::sim {
namespace {

using namespace std::chrono_literals;

Options Parse(std::vector<std::string> args) {
    std::vector<const char*> argv = {"qav510-sim"};
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    return ParseOptions(static_cast<int>(argv.size()), argv.data());
}

TEST(Options, WithoutTransportServesTcpOnLoopback5020) {
    const Options options = Parse({});
    EXPECT_TRUE(options.tcp);
    EXPECT_EQ(options.tcpHost, "127.0.0.1");
    EXPECT_EQ(options.tcpPort, 5020);
    EXPECT_FALSE(options.serialMode.has_value());
}

TEST(Options, TransportsAlone) {
    Options options = Parse({"--rtu", "/tmp/x"});
    EXPECT_FALSE(options.tcp);
    EXPECT_EQ(options.serialMode, SerialMode::kRtu);
    EXPECT_EQ(options.serialLink, "/tmp/x");
    options = Parse({"--tcp", "5021", "--ascii=/tmp/y"});
    EXPECT_TRUE(options.tcp);
    EXPECT_EQ(options.tcpHost, "127.0.0.1");
    EXPECT_EQ(options.tcpPort, 5021);
    EXPECT_EQ(options.serialMode, SerialMode::kAscii);
    options = Parse({"--tcp", "127.0.0.2:0"});
    EXPECT_EQ(options.tcpHost, "127.0.0.2");
    EXPECT_EQ(options.tcpPort, 0);
}

TEST(Options, RelayAndFaultSettings) {
    const Options options =
        Parse({"--address", "7",         "--identity", "27",          "--firmware", "9",
               "--param",   "151=50",    "--param",    "203=-9",      "--running",  "--seed",
               "42",        "--baud",    "9600",       "--delay",     "15",         "--drop",
               "0.1",       "--corrupt", "0.2",        "--exception", "0.3:6",      "--close",
               "0.4",       "--silence", "3:2",        "--control",   "/tmp/c",     "--verbose"});
    const std::vector<std::pair<uint16_t, int16_t>> parameters = {{222, 7}, {151, 50}, {203, -9}};
    EXPECT_EQ(options.parameters, parameters);
    EXPECT_EQ(options.identity, 27);
    EXPECT_EQ(options.firmware, 9);
    EXPECT_TRUE(options.running);
    EXPECT_EQ(options.seed, 42u);
    EXPECT_EQ(options.baud, 9600u);
    EXPECT_EQ(options.faults.responseDelay, 15ms);
    EXPECT_DOUBLE_EQ(options.faults.dropShare, 0.1);
    EXPECT_DOUBLE_EQ(options.faults.corruptShare, 0.2);
    EXPECT_DOUBLE_EQ(options.faults.exceptionShare, 0.3);
    EXPECT_EQ(options.faults.exceptionCode, 6);
    EXPECT_DOUBLE_EQ(options.faults.closeShare, 0.4);
    ASSERT_TRUE(options.silence.has_value());
    EXPECT_EQ(options.silence->first, 3s);
    EXPECT_EQ(options.silence->second, 2s);
    EXPECT_EQ(options.controlSocket, "/tmp/c");
    EXPECT_TRUE(options.verbose);
}

TEST(Options, RefusesWhatTheRelayCannotBe) {
    const std::vector<std::vector<std::string>> refused = {
        {"--rtu", "/tmp/a", "--ascii", "/tmp/b"},
        {"--rtu"},
        {"--tcp", "70000"},
        {"--tcp", "host:x"},
        {"--address", "0"},
        {"--address", "248"},
        {"--firmware", "256"},
        {"--param", "151=631"},
        {"--param", "230=15"},
        {"--param", "149=1"},
        {"--param", "151"},
        {"--baud", "4800"},
        {"--drop", "2"},
        {"--drop", "x"},
        {"--exception", "0.5:0"},
        {"--silence", "5"},
        {"--running=1"},
        {"--frobnicate"},
    };
    for (const auto& args : refused) {
        EXPECT_THROW(Parse(args), std::invalid_argument) << args[0];
    }
}

TEST(Options, HelpNamesEveryOption) {
    EXPECT_TRUE(Parse({"--help"}).help);
    const std::string usage = Usage();
    for (const char* option : {"--tcp [HOST:]PORT",
                               "--rtu PATH",
                               "--ascii PATH",
                               "--baud",
                               "--address",
                               "--identity",
                               "--firmware",
                               "--param",
                               "--running",
                               "--seed",
                               "--delay",
                               "--drop",
                               "--corrupt",
                               "--exception",
                               "--close",
                               "--silence",
                               "--control",
                               "--verbose",
                               "--help",
                               "trip BIT",
                               "quit"}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
}

}  // namespace
}  // namespace qav::sim

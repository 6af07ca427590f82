// The simulator executable: its help, refusals, signals and the files it leaves (or does not).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "modbus_client.h"
#include "sim_process.h"

namespace qav::sim {
namespace {

using qav::test::SimProcess;

struct Outcome {
    int status;
    std::string output;
};

// Runs a shell command to its end with standard output and error captured.
Outcome Shell(const std::string& command) {
    FILE* pipe = popen(("(" + command + ") 2>&1 </dev/null").c_str(), "r");
    std::string output;
    char chunk[4096];
    std::size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0) {
        output.append(chunk, n);
    }
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// A private folder under /tmp, removed with whatever is left in it however the test ends.
struct TempFolder {
    TempFolder() {
        char name[] = "/tmp/qav-sim-test-XXXXXX";
        if (mkdtemp(name) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        path = name;
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
    std::string path;
};

Outcome RunToEnd(const std::string& args) {
    return Shell(std::string(QAV510_SIM_PATH) + " " + args);
}

TEST(SimCommandLine, HelpDocumentsTheOptions) {
    const Outcome help = RunToEnd("--help");
    EXPECT_EQ(help.status, 0);
    for (const char* option :
         {"--tcp [HOST:]PORT", "--rtu PATH", "--ascii PATH", "--baud", "--delay", "--drop", "--corrupt",
          "--exception", "--close", "--silence", "--control", "set REG VALUE"}) {
        EXPECT_NE(help.output.find(option), std::string::npos) << option;
    }
}

TEST(SimCommandLine, RefusesBadOptionsAndUnusableAddresses) {
    const Outcome bad = RunToEnd("--drop 7");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.output.find("--drop"), std::string::npos);
    EXPECT_EQ(RunToEnd("--tcp 127.0.0.1:99999").status, 2);
    EXPECT_EQ(RunToEnd("--tcp 256.1.1.1:0").status, 1);
    EXPECT_EQ(RunToEnd("--running").status, 1) << "no rated current";
}

TEST(SimCommandLine, TerminationRemovesTheSymlinkAndEndsCleanly) {
    SimProcess sim({}, SimProcess::Serial::kRtu);
    const std::string link = sim.SerialPath();
    struct stat info {};
    ASSERT_EQ(lstat(link.c_str(), &info), 0);
    const int status = sim.Signal(SIGTERM);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_NE(lstat(link.c_str(), &info), 0);
}

TEST(SimCommandLine, ReplacesAStaleSymlinkButNoOtherFile) {
    const TempFolder folder;
    const std::string link = folder.path + "/tty";
    ASSERT_EQ(symlink("/dev/pts/nonexistent", link.c_str()), 0);
    {
        SimProcess sim({"--rtu", link});
        auto ctx = test::RtuClient(link);
        ASSERT_TRUE(ctx);
        EXPECT_EQ(test::Read(ctx.get(), 0, 1).size(), 1u);
    }
    std::ofstream(link) << "not a port";
    EXPECT_EQ(RunToEnd("--rtu " + link).status, 1);
    std::ifstream kept(link);
    std::string text;
    std::getline(kept, text);
    EXPECT_EQ(text, "not a port");
}

TEST(SimCommandLine, ControlSocketTakesCommandsToo) {
    const TempFolder folder;
    const std::string socketPath = folder.path + "/control";
    {
        SimProcess sim({"--control", socketPath});
        const Outcome answer = Shell("printf 'get 0\\nstate\\n' | socat -t 2 - UNIX-CONNECT:" + socketPath);
        EXPECT_EQ(answer.status, 0);
        EXPECT_EQ(answer.output.rfind("ok 26\nok motor=stopped", 0), 0u) << answer.output;
    }
    struct stat info {};
    EXPECT_NE(lstat(socketPath.c_str(), &info), 0) << "removed at the end";
}

}  // namespace
}  // namespace qav::sim

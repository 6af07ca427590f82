// qav510-sim as a child process of a test: started on a free loopback TCP port and/or on a pseudo-terminal
// in a private temporary folder, driven through its control channel (its standard input and output), and
// stopped by its PID. Tests of anything that talks to the relay use it as their device.
//
//   qav::test::SimProcess sim({"--param", "151=50"}, SimProcess::Serial::kRtu);
//   modbus_new_tcp("127.0.0.1", sim.TcpPort());   modbus_new_rtu(sim.SerialPath().c_str(), ...);
//   sim.Command("trip 0 520");                     // "ok", or "error: ..." (see qav510-sim --help)
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace qav::test {

class SimProcess {
public:
    enum class Serial { kNone, kRtu, kAscii };

    // Starts the simulator with Modbus TCP on 127.0.0.1 at a port the kernel picks, the serial port when
    // asked for, and the further options `args`; waits for its "ready" line and throws std::runtime_error
    // when it does not come up. The executable is the one the environment variable QAV510_SIM names, else
    // the simulator built with the tests.
    explicit SimProcess(std::vector<std::string> args = {}, Serial serial = Serial::kNone);
    // Stop().
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    uint16_t TcpPort() const { return tcpPort_; }
    // The symlink a master opens as its serial port.
    const std::string& SerialPath() const { return serialPath_; }
    pid_t Pid() const { return pid_; }

    // One control command; its one-line answer without the newline. Throws std::runtime_error when no
    // answer comes within `within`.
    std::string Command(const std::string& line, std::chrono::milliseconds within = std::chrono::seconds(10));

    // Asks the simulator to quit, then SIGTERM, then SIGKILL, each after a grace period; returns the
    // wait status (as waitpid gives it). Later calls return the same status.
    int Stop();
    // Sends `signal` and waits for the end; returns the wait status.
    int Signal(int signal);
    // Resident memory of the simulator in kB, from /proc.
    long ResidentKb() const;

private:
    std::string ReadLine(std::chrono::milliseconds within);
    bool WaitExit(std::chrono::milliseconds within);

    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
    int status_ = 0;
    bool exited_ = false;
    std::string pending_;
    std::string folder_;
    std::string serialPath_;
    uint16_t tcpPort_ = 0;
};

}  // namespace qav::test

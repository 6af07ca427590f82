// The control channel's commands: set registers, raise and clear alarms, start and stop the motor, change
// the plant, switch faults, print the state. One line in, one line out.
#pragma once

#include <atomic>
#include <sstream>
#include <string>
#include <string_view>

#include "faults.h"
#include "slave.h"

namespace qav::sim {

class TcpServer;

class Controller {
public:
    // `tcp` may be null when the relay has no TCP server.
    Controller(SharedRelay& relay, FaultInjector& faults, TcpServer* tcp);

    // Runs one command line. The answer is one line without its newline: "ok" with optional
    // key=value fields or values, or "error: " and the reason.
    std::string Execute(std::string_view line);
    bool QuitRequested() const { return quit_.load(); }

    // The command list that `help` and --help print.
    static const char* Help();

private:
    using Args = std::istringstream;
    // Every command's handler takes the command's name (some serve several) and its arguments.
    using Handler = std::string (Controller::*)(const std::string& name, Args& args);

    std::string Dispatch(const std::string& name, Args& args);
    std::string HelpText(const std::string& name, Args& args);
    std::string State(const std::string& name, Args& args);
    std::string Get(const std::string& name, Args& args);
    std::string Set(const std::string& name, Args& args);
    std::string Release(const std::string& name, Args& args);
    std::string Motor(const std::string& name, Args& args);
    std::string Reset(const std::string& name, Args& args);
    std::string Alarm(const std::string& name, Args& args);
    std::string Clear(const std::string& name, Args& args);
    std::string Plant(const std::string& name, Args& args);
    std::string Sensor(const std::string& name, Args& args);
    std::string SetFault(const std::string& name, Args& args);
    std::string ShowFaults(const std::string& name, Args& args);
    std::string Quit(const std::string& name, Args& args);

    SharedRelay& relay_;
    FaultInjector& faults_;
    TcpServer* tcp_;
    std::atomic<bool> quit_{false};
};

}  // namespace qav::sim

// Drives the relay model from the real clock: the executable's time source (tests step the model
// themselves).
#pragma once

#include <chrono>
#include <thread>

#include "slave.h"
#include "stop_signal.h"

namespace qav::sim {

class Ticker {
public:
    Ticker(SharedRelay& relay, std::chrono::milliseconds period);
    ~Ticker();
    Ticker(const Ticker&) = delete;
    Ticker& operator=(const Ticker&) = delete;

private:
    void Run();

    SharedRelay& relay_;
    std::chrono::milliseconds period_;
    StopSignal stop_;
    std::thread thread_;
};

}  // namespace qav::sim

// A stop request that wakes every thread waiting in poll() or in a pause.
#pragma once

#include <atomic>
#include <chrono>

namespace qav::sim {

class StopSignal {
public:
    StopSignal();
    ~StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    void Raise();
    bool Raised() const { return raised_.load(); }
    // Readable once raised, for poll() sets.
    int Fd() const { return fd_; }
    // Waits `duration`; false when the stop came first.
    bool Pause(std::chrono::nanoseconds duration) const;

private:
    int fd_;
    std::atomic<bool> raised_{false};
};

}  // namespace qav::sim

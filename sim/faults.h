// Misbehaviour on purpose: shares of requests left unanswered, answered with an exception, with a wrong
// checksum or by closing the TCP connection; silent periods; a fixed delay before every reply.
#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <random>

namespace qav::sim {

struct FaultSettings {
    double dropShare = 0;
    double corruptShare = 0;  // serial replies only: TCP has no checksum
    double exceptionShare = 0;
    uint8_t exceptionCode = 4;
    double closeShare = 0;  // TCP only
    std::chrono::milliseconds responseDelay{0};
};

enum class Fault { kNone, kSilent, kDrop, kClose, kException, kCorrupt };

class FaultInjector {
public:
    using Clock = std::chrono::steady_clock;

    FaultInjector(const FaultSettings& settings, uint64_t seed);

    // What happens to one request addressed to the relay; one draw per share that is set.
    Fault Decide(bool tcp);

    FaultSettings Settings() const;
    void Update(const FaultSettings& settings);
    // Nothing is answered from `from` for `length`.
    void Silence(Clock::time_point from, std::chrono::milliseconds length);
    bool Silent(Clock::time_point now) const;

private:
    bool Draw(double share);
    bool InSilence(Clock::time_point now) const;  // with the lock held

    mutable std::mutex mutex_;
    FaultSettings settings_;
    std::mt19937_64 random_;
    Clock::time_point silentFrom_{};
    Clock::time_point silentUntil_{};
};

}  // namespace qav::sim

#include "faults.h"

namespace qav::sim {

FaultInjector::FaultInjector(const FaultSettings& settings, uint64_t seed)
    : settings_(settings), random_(seed ^ 0x9E3779B97F4A7C15ull) {}

bool FaultInjector::Draw(double share) {
    if (share <= 0) {
        return false;
    }
    const double unit = static_cast<double>(random_() >> 11) * 0x1.0p-53;
    return unit < share;
}

Fault FaultInjector::Decide(bool tcp) {
    const auto now = Clock::now();
    std::lock_guard lock(mutex_);
    if (InSilence(now)) {
        return Fault::kSilent;
    }
    if (Draw(settings_.dropShare)) {
        return Fault::kDrop;
    }
    if (tcp && Draw(settings_.closeShare)) {
        return Fault::kClose;
    }
    if (Draw(settings_.exceptionShare)) {
        return Fault::kException;
    }
    if (!tcp && Draw(settings_.corruptShare)) {
        return Fault::kCorrupt;
    }
    return Fault::kNone;
}

FaultSettings FaultInjector::Settings() const {
    std::lock_guard lock(mutex_);
    return settings_;
}

void FaultInjector::Update(const FaultSettings& settings) {
    std::lock_guard lock(mutex_);
    settings_ = settings;
}

void FaultInjector::Silence(Clock::time_point from, std::chrono::milliseconds length) {
    std::lock_guard lock(mutex_);
    silentFrom_ = from;
    silentUntil_ = from + length;
}

bool FaultInjector::Silent(Clock::time_point now) const {
    std::lock_guard lock(mutex_);
    return InSilence(now);
}

bool FaultInjector::InSilence(Clock::time_point now) const {
    return now >= silentFrom_ && now < silentUntil_;
}

}  // namespace qav::sim

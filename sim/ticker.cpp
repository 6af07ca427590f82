#include "ticker.h"

namespace qav::sim {

Ticker::Ticker(SharedRelay& relay, std::chrono::milliseconds period)
    : relay_(relay), period_(period), thread_([this] { Run(); }) {}

Ticker::~Ticker() {
    stop_.Raise();
    thread_.join();
}

void Ticker::Run() {
    using Clock = std::chrono::steady_clock;
    auto last = Clock::now();
    while (stop_.Pause(period_)) {
        // Whole milliseconds are handed on; the remainder waits for the next step, so no time is lost.
        const auto step = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - last);
        last += step;
        relay_.With([step](Relay& relay) { relay.Advance(step); });
    }
}

}  // namespace qav::sim

// The poller's own cost per pass: decoding every block, storing the snapshot and handing values to a
// display that only counts, with the register source answering from memory.
#include <benchmark/benchmark.h>

#include "counting_display.h"
#include "poll_cycle.h"

namespace qav::monitor {
namespace {

class MemorySource : public RegisterSource {
public:
    int32_t Read(int32_t, int32_t first, int32_t count, uint8_t* buffer, int32_t, int32_t) override {
        for (int32_t i = 0; i < count; ++i) {
            const auto v = static_cast<uint16_t>(first + i);
            buffer[2 * i] = static_cast<uint8_t>(v >> 8);
            buffer[2 * i + 1] = static_cast<uint8_t>(v);
        }
        return 2 * count;
    }
};

// Passes run in their natural mix: every pass group A, every third group B, every twelfth group C.
void BM_PollPass(benchmark::State& state) {
    MemorySource source;
    MeasureArray measures;
    AlarmMarks marks;
    CountingDisplay display;
    LinkStatus status;
    PollerDeps deps{source, measures, marks, display, status, [] { return 3; }};
    std::atomic<bool> running{true};
    PollCycle cycle(deps, 1, running, PollCycle::Clock::now());
    for (auto _ : state) {
        benchmark::DoNotOptimize(cycle.RunPass());
    }
    state.counters["deliveries/pass"] =
        benchmark::Counter(static_cast<double>(display.calls), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PollPass);

}  // namespace
}  // namespace qav::monitor

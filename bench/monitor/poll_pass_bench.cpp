// The poller's own cost per pass: decoding every block, storing the snapshot and handing values to a
// display that only counts, with the register source answering from memory.
#include <benchmark/benchmark.h>

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

class CountingDisplay : public MonitorDisplay {
public:
    long calls = 0;
    void ShowCurrents(const CurrentValues&) override { ++calls; }
    void ShowVoltages(const VoltageValues&) override { ++calls; }
    void ShowPowers(const PowerValues&) override { ++calls; }
    void ShowEnergies(const EnergyValues&) override { ++calls; }
    void ShowBalance(int32_t, int32_t) override { ++calls; }
    void ShowRelayClock(const RelayClock&) override { ++calls; }
    void ShowAverages(const AverageValues&) override { ++calls; }
    void ShowTimes(const TimeValues&) override { ++calls; }
    void ShowSensors(const SensorValues&) override { ++calls; }
    void ShowHeating(uint32_t, int32_t) override { ++calls; }
    void ShowStatus(uint16_t) override { ++calls; }
    void InsertAlarmRow(const AlarmRow&) override { ++calls; }
    void RemoveAlarmRows(int) override { ++calls; }
    void RemoveAllAlarmRows() override { ++calls; }
    void ShowAlarmBanner(int) override { ++calls; }
    void ShowAlarmReset(bool) override { ++calls; }
    void SetRecloseRange(int32_t) override { ++calls; }
    void ShowRatedCurrent(int32_t) override { ++calls; }
    void ShowVoltageLimits(int32_t, int32_t) override { ++calls; }
    void ShowRemoteControl(bool) override { ++calls; }
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

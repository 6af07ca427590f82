// Reads of 9 registers per second over Modbus TCP on loopback, through this library and through a libmodbus
// client, against one libmodbus server; runs alternate so that a change of load hits both alike.
#include <benchmark/benchmark.h>
#include <modbus/modbus.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "QAV508DLL.h"
#include "modbus_tcp_peer.h"

namespace {

constexpr int kRegisters = 9;
constexpr int kPairs = 5;
constexpr double kSecondsPerRun = 0.5;

std::unique_ptr<qav::test::ModbusTcpPeer> server;

void ThroughThisLibrary(benchmark::State& state) {
    DLL_SetIOTimeout(1000);
    if (TCP_Open(u"127.0.0.1", server->Port()) != 0) {
        state.SkipWithError("cannot connect");
        return;
    }
    uint8_t buffer[2 * kRegisters];
    for (auto _ : state) {
        if (MODBUS_Read03(1, 0, kRegisters, buffer, sizeof buffer, 0) != 2 * kRegisters) {
            state.SkipWithError("read failed");
            break;
        }
        benchmark::DoNotOptimize(buffer);
    }
    TCP_Close();
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

void ThroughLibmodbus(benchmark::State& state) {
    modbus_t* client = modbus_new_tcp("127.0.0.1", server->Port());
    if (client == nullptr || modbus_connect(client) != 0) {
        state.SkipWithError("cannot connect");
        modbus_free(client);
        return;
    }
    modbus_set_slave(client, 1);
    uint16_t registers[kRegisters];
    for (auto _ : state) {
        if (modbus_read_registers(client, 0, kRegisters, registers) != kRegisters) {
            state.SkipWithError("read failed");
            break;
        }
        benchmark::DoNotOptimize(registers);
    }
    modbus_close(client);
    modbus_free(client);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

// Shows every run as usual and keeps the reads per second of each, by client.
class RateCollector : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto rate = run.counters.find("items_per_second");
            if (!run.error_occurred && rate != run.counters.end()) {
                const std::string name = run.benchmark_name();
                rates[name.substr(0, name.find('/'))].push_back(rate->second.value);
            }
        }
    }

    std::map<std::string, std::vector<double>> rates;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    server = std::make_unique<qav::test::ModbusTcpPeer>(100);
    for (int pair = 0; pair < kPairs; ++pair) {
        const std::string run = "/run:" + std::to_string(pair + 1);
        benchmark::RegisterBenchmark(("ThisLibrary" + run).c_str(), ThroughThisLibrary)
            ->MinTime(kSecondsPerRun)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("Libmodbus" + run).c_str(), ThroughLibmodbus)
            ->MinTime(kSecondsPerRun)
            ->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    RateCollector reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    server.reset();

    const std::vector<double>& ours = reporter.rates["ThisLibrary"];
    const std::vector<double>& theirs = reporter.rates["Libmodbus"];
    std::vector<double> ratios;
    for (std::size_t i = 0; i < std::min(ours.size(), theirs.size()); ++i) {
        ratios.push_back(ours[i] / theirs[i]);
    }
    std::printf("\nReads of %d registers per second (median of %zu alternating runs):\n", kRegisters,
                ratios.size());
    std::printf("  this library  %10.0f\n  libmodbus     %10.0f\n", Median(ours), Median(theirs));
    std::printf("  ratio (this library / libmodbus), median of the pairs: %.3f\n", Median(ratios));
    return ratios.empty() ? 1 : 0;
}

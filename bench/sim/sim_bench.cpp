// The simulator as a device on loopback: how long a Modbus transaction takes, and whether the process grows
// over many transactions and connections.
#include <benchmark/benchmark.h>
#include <modbus.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "sim_process.h"

namespace {

using qav::test::SimProcess;

SimProcess& Simulator() {
    static SimProcess sim({"--param", "151=50", "--running"}, SimProcess::Serial::kRtu);
    return sim;
}

struct ModbusFree {
    void operator()(modbus_t* ctx) const {
        modbus_close(ctx);
        modbus_free(ctx);
    }
};
using Modbus = std::unique_ptr<modbus_t, ModbusFree>;

Modbus Connect(modbus_t* raw) {
    Modbus ctx(raw);
    if (!ctx || modbus_set_slave(ctx.get(), 1) != 0 || modbus_connect(ctx.get()) != 0) {
        throw std::runtime_error("cannot connect to the simulator");
    }
    modbus_set_response_timeout(ctx.get(), 2, 0);
    return ctx;
}

Modbus Tcp() {
    return Connect(modbus_new_tcp("127.0.0.1", Simulator().TcpPort()));
}

void ReadOrFail(benchmark::State& state, modbus_t* ctx, int first, int count) {
    uint16_t words[MODBUS_MAX_READ_REGISTERS];
    if (modbus_read_registers(ctx, first, count, words) != count) {
        state.SkipWithError(modbus_strerror(errno));
    }
}

// One read of `count` registers over TCP: request out, reply in.
void BM_TcpRead(benchmark::State& state) {
    const Modbus ctx = Tcp();
    const int count = static_cast<int>(state.range(0));
    const int first = count > 9 ? 1000 : 45;
    for (auto _ : state) {
        ReadOrFail(state, ctx.get(), first, count);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TcpRead)->Arg(1)->Arg(9)->Arg(125)->UseRealTime();

void BM_TcpWrite(benchmark::State& state) {
    const Modbus ctx = Tcp();
    uint16_t value = 60;
    for (auto _ : state) {
        value = value == 60 ? 61 : 60;
        if (modbus_write_register(ctx.get(), 153, value) != 1) {
            state.SkipWithError(modbus_strerror(errno));
        }
    }
}
BENCHMARK(BM_TcpWrite)->UseRealTime();

// The same read on the pseudo-terminal in RTU, without line pacing: framing and the pty's own latency.
void BM_RtuRead(benchmark::State& state) {
    const Modbus ctx = Connect(modbus_new_rtu(Simulator().SerialPath().c_str(), 19200, 'N', 8, 1));
    modbus_flush(ctx.get());
    for (auto _ : state) {
        ReadOrFail(state, ctx.get(), 45, 9);
    }
}
BENCHMARK(BM_RtuRead)->UseRealTime();

// Resident memory of the simulator before and after a long run of transactions on one connection.
void BM_TcpSoakMemory(benchmark::State& state) {
    const Modbus ctx = Tcp();
    for (int k = 0; k < 2000; ++k) {
        ReadOrFail(state, ctx.get(), 30, 45);
    }
    const long before = Simulator().ResidentKb();
    for (auto _ : state) {
        ReadOrFail(state, ctx.get(), 30, 45);
        if (modbus_write_register(ctx.get(), 153, 60) != 1) {
            state.SkipWithError(modbus_strerror(errno));
        }
    }
    const long after = Simulator().ResidentKb();
    state.counters["rss_before_kB"] = static_cast<double>(before);
    state.counters["rss_after_kB"] = static_cast<double>(after);
    state.counters["rss_growth_kB"] = static_cast<double>(after - before);
}
BENCHMARK(BM_TcpSoakMemory)->Iterations(200000)->UseRealTime();

// Clients that connect, read once and leave: every connection's thread and buffers must be given back.
void BM_TcpConnectionsMemory(benchmark::State& state) {
    for (int k = 0; k < 200; ++k) {
        ReadOrFail(state, Tcp().get(), 0, 2);
    }
    const long before = Simulator().ResidentKb();
    for (auto _ : state) {
        ReadOrFail(state, Tcp().get(), 0, 2);
    }
    const long after = Simulator().ResidentKb();
    state.counters["rss_before_kB"] = static_cast<double>(before);
    state.counters["rss_after_kB"] = static_cast<double>(after);
    state.counters["rss_growth_kB"] = static_cast<double>(after - before);
}
BENCHMARK(BM_TcpConnectionsMemory)->Iterations(5000)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

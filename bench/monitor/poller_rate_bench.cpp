// The poller's registers per second against the relay simulator on a pseudo-terminal in Modbus RTU, with
// the simulator pacing the line at 19200 bit/s, compared with what the line itself allows for the same
// requests: every byte of request and reply at 11 bits (start, 8 data, 2 stop) per character.
#include <chrono>
#include <cstdio>
#include <thread>

#include "QAV508DLL.h"
#include "counting_display.h"
#include "poller.h"
#include "sim_process.h"

namespace qav::monitor {
namespace {

constexpr double kBaud = 19200;
constexpr double kBitsPerCharacter = 11;
constexpr std::size_t kRtuRequestBytes = 8;
constexpr std::size_t kRtuReplyOverhead = 5;

// Counts what crossed the line for every successful read.
class MeteredSource : public RegisterSource {
public:
    int32_t Read(int32_t address, int32_t first, int32_t count, uint8_t* buffer, int32_t size,
                 int32_t retries) override {
        const int32_t result = link_.Read(address, first, count, buffer, size, retries);
        if (result >= 2 * count) {
            registers += static_cast<std::size_t>(count);
            lineBytes += kRtuRequestBytes + kRtuReplyOverhead + 2 * static_cast<std::size_t>(count);
            ++transactions;
        } else {
            ++failures;
        }
        return result;
    }

    std::atomic<std::size_t> registers{0};
    std::atomic<std::size_t> lineBytes{0};
    std::atomic<std::size_t> failures{0};
    std::atomic<std::size_t> transactions{0};

private:
    LinkRegisterSource link_;
};

int Run() {
    qav::test::SimProcess sim({"--baud", "19200", "--param", "151=50"}, qav::test::SimProcess::Serial::kRtu);
    DLL_SetIOProtocol(0);
    DLL_SetIOTimeout(500);
    const std::u16string path(sim.SerialPath().begin(), sim.SerialPath().end());
    if (COM_Open(path.c_str()) != 0 || COM_Setup(1, 1, 0, 1) != 0) {
        std::fprintf(stderr, "cannot open the simulator's port\n");
        return 1;
    }
    MeteredSource source;
    MeasureArray measures;
    AlarmMarks marks;
    CountingDisplay display;
    LinkStatus status;
    Poller poller({source, measures, marks, display, status, [] { return 0; }});

    const auto start = std::chrono::steady_clock::now();
    poller.Start(1);
    std::this_thread::sleep_for(std::chrono::seconds(10));
    poller.RequestStop();
    COM_Close();
    poller.Join();
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const double measured = static_cast<double>(source.registers) / elapsed;
    const double lineSeconds = static_cast<double>(source.lineBytes) * kBitsPerCharacter / kBaud;
    const double limit = static_cast<double>(source.registers) / lineSeconds;
    // A device knows an RTU request has ended after 3.5 characters of silence, so every transaction also
    // holds the line that long before the reply can start.
    const double silenceSeconds = static_cast<double>(source.transactions) * 3.5 * kBitsPerCharacter / kBaud;
    const double limitWithSilence = static_cast<double>(source.registers) / (lineSeconds + silenceSeconds);
    std::printf("poller over RTU at 19200 bit/s: %.1f registers/s (%zu failed reads)\n", measured,
                source.failures.load());
    std::printf("  line limit for the same bytes:               %.1f registers/s, reached %.1f %%\n", limit,
                100.0 * measured / limit);
    std::printf("  with the 3.5-character end-of-frame silence: %.1f registers/s, reached %.1f %%\n",
                limitWithSilence, 100.0 * measured / limitWithSilence);
    return 0;
}

}  // namespace
}  // namespace qav::monitor

int main() {
    return qav::monitor::Run();
}

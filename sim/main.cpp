// qav510-sim: the relay in software, over Modbus TCP and a serial pseudo-terminal.
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>

#include "control_channel.h"
#include "controller.h"
#include "options.h"
#include "pty_port.h"
#include "serial_server.h"
#include "slave.h"
#include "tcp_server.h"
#include "ticker.h"

namespace {

using namespace qav::sim;

constexpr std::chrono::milliseconds kTickPeriod{100};

// Termination signals arrive on a descriptor the control loop watches, so shutdown runs in order.
int TerminationSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    const int fd = signalfd(-1, &set, SFD_CLOEXEC);
    if (fd < 0) {
        throw std::runtime_error("cannot watch termination signals");
    }
    return fd;
}

int Serve(const Options& options) {
    signal(SIGPIPE, SIG_IGN);
    const int signals = TerminationSignals();

    RelaySettings settings;
    settings.identity = options.identity;
    settings.firmware = options.firmware;
    settings.seed = options.seed;
    settings.clock = LocalTimeNow();
    settings.parameters = options.parameters;
    SharedRelay relay(settings);
    if (options.running && !relay.With([](Relay& r) { return r.Start(CommandSource::kLocal); })) {
        throw std::runtime_error("--running needs a rated motor current: add --param 151=AMPERES");
    }
    FaultInjector faults(options.faults, options.seed);
    if (options.silence) {
        faults.Silence(FaultInjector::Clock::now() + options.silence->first, options.silence->second);
    }
    Slave slave(relay, faults, options.verbose);

    std::optional<TcpServer> tcp;
    std::string ready = "ready";
    if (options.tcp) {
        tcp.emplace(slave, options.baud);
        const uint16_t port = tcp->Listen(options.tcpHost, options.tcpPort);
        ready += " tcp=" + options.tcpHost + ":" + std::to_string(port);
    }
    std::optional<PtyPort> pty;
    std::optional<SerialServer> serial;
    if (options.serialMode) {
        pty.emplace(options.serialLink);
        serial.emplace(slave, *pty, *options.serialMode, options.baud);
        ready += " serial=" + pty->Link() + " device=" + pty->Device();
    }
    Ticker ticker(relay, kTickPeriod);
    if (tcp) {
        tcp->Start();
    }
    if (serial) {
        serial->Start();
    }
    std::printf("%s pid=%d\n", ready.c_str(), static_cast<int>(getpid()));
    std::fflush(stdout);

    Controller controller(relay, faults, tcp ? &*tcp : nullptr);
    RunControlChannel(controller, signals, options.controlSocket);
    close(signals);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    try {
        options = ParseOptions(argc, argv);
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "qav510-sim: %s\nTry 'qav510-sim --help'.\n", e.what());
        return 2;
    }
    if (options.help) {
        std::fputs(Usage().c_str(), stdout);
        return 0;
    }
    try {
        return Serve(options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qav510-sim: %s\n", e.what());
        return 1;
    }
}

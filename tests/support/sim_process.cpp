#include "sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace qav::test {
namespace {

using namespace std::chrono_literals;

std::string Executable() {
    if (const char* fromEnvironment = std::getenv("QAV510_SIM")) {
        return fromEnvironment;
    }
#ifdef QAV510_SIM_PATH
    return QAV510_SIM_PATH;
#else
    throw std::runtime_error("no simulator: set QAV510_SIM");
#endif
}

// The value of `key=` in a line of space-separated fields.
std::string Field(const std::string& line, const std::string& key) {
    const std::string marker = " " + key + "=";
    const std::size_t at = line.find(marker);
    if (at == std::string::npos) {
        return {};
    }
    const std::size_t begin = at + marker.size();
    return line.substr(begin, line.find(' ', begin) - begin);
}

}  // namespace

SimProcess::SimProcess(std::vector<std::string> options, Serial serial) {
    const std::string executable = Executable();
    std::vector<std::string> args = {executable, "--tcp", "127.0.0.1:0"};
    if (serial != Serial::kNone) {
        char folder[] = "/tmp/qav-sim-XXXXXX";
        if (mkdtemp(folder) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        folder_ = folder;
        serialPath_ = folder_ + "/tty";
        args.insert(args.end(), {serial == Serial::kRtu ? "--rtu" : "--ascii", serialPath_});
    }
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    int in[2];
    int out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot create pipes");
    }
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        // Only async-signal-safe calls from here to exec. The simulator must not outlive the test.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) {
            _exit(127);
        }
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    toChild_ = in[1];
    fromChild_ = out[0];
    if (pid_ < 0) {
        throw std::runtime_error("cannot fork");
    }
    std::string ready;
    try {
        ready = ReadLine(30s);
    } catch (const std::exception&) {
        Stop();
        throw std::runtime_error("the simulator did not come up: " + executable);
    }
    if (ready.rfind("ready", 0) != 0) {
        Stop();
        throw std::runtime_error("unexpected first line from the simulator: " + ready);
    }
    const std::string tcp = Field(ready, "tcp");
    if (!tcp.empty()) {
        tcpPort_ = static_cast<uint16_t>(std::stoi(tcp.substr(tcp.rfind(':') + 1)));
    }
}

SimProcess::~SimProcess() {
    Stop();
}

std::string SimProcess::ReadLine(std::chrono::milliseconds within) {
    const auto deadline = std::chrono::steady_clock::now() + within;
    std::size_t end;
    while ((end = pending_.find('\n')) == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{fromChild_, POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) == 0) {
            throw std::runtime_error("no answer from the simulator");
        }
        char chunk[1024];
        const ssize_t n = read(fromChild_, chunk, sizeof chunk);
        if (n == 0 || (n < 0 && errno != EINTR)) {
            throw std::runtime_error("the simulator closed its output");
        }
        if (n > 0) {
            pending_.append(chunk, static_cast<std::size_t>(n));
        }
    }
    std::string line = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    return line;
}

std::string SimProcess::Command(const std::string& line, std::chrono::milliseconds within) {
    const std::string text = line + "\n";
    if (write(toChild_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        throw std::runtime_error("cannot write to the simulator");
    }
    return ReadLine(within);
}

bool SimProcess::WaitExit(std::chrono::milliseconds within) {
    const auto deadline = std::chrono::steady_clock::now() + within;
    for (;;) {
        const pid_t done = waitpid(pid_, &status_, WNOHANG);
        if (done == pid_ || (done < 0 && errno == ECHILD)) {
            exited_ = true;
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(10ms);
    }
}

int SimProcess::Stop() {
    if (pid_ > 0 && !exited_) {
        const std::string quit = "quit\n";
        [[maybe_unused]] const ssize_t n = write(toChild_, quit.data(), quit.size());
        if (!WaitExit(10s)) {
            kill(pid_, SIGTERM);
            if (!WaitExit(5s)) {
                kill(pid_, SIGKILL);
                WaitExit(5s);
            }
        }
    }
    for (int* fd : {&toChild_, &fromChild_}) {
        if (*fd >= 0) {
            close(*fd);
            *fd = -1;
        }
    }
    if (!folder_.empty()) {
        // The simulator removes its own symlink; a killed one leaves it behind.
        unlink(serialPath_.c_str());
        rmdir(folder_.c_str());
        folder_.clear();
    }
    return status_;
}

int SimProcess::Signal(int signal) {
    if (pid_ > 0 && !exited_) {
        kill(pid_, signal);
        WaitExit(10s);
    }
    return status_;
}

long SimProcess::ResidentKb() const {
    std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
    std::string key;
    long value = -1;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            break;
        }
        status.ignore(4096, '\n');
    }
    return value;
}

}  // namespace qav::test

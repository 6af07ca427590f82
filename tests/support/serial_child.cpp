#include "serial_child.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

namespace qav::test::serial {
namespace {

// The program file for argv[0], found before fork: the child may only make async-signal-safe calls.
std::string Resolve(const std::string& program) {
    if (program.find('/') != std::string::npos) {
        return program;
    }
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const std::string candidate = folders.substr(start, end - start) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

}  // namespace

pid_t StartChild(const std::vector<std::string>& argv, const std::string& errorLog) {
    if (argv.empty()) {
        return -1;
    }
    const std::string program = Resolve(argv.front());
    if (program.empty()) {
        return -1;
    }
    std::vector<std::string> args = argv;
    std::vector<char*> pointers;
    for (auto& arg : args) {
        pointers.push_back(arg.data());
    }
    pointers.push_back(nullptr);
    const pid_t parent = getpid();

    const pid_t pid = fork();
    if (pid != 0) {
        return pid;
    }
    // The child: end with the test process (the forking thread is the test's main thread).
    if (prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || getppid() != parent) {
        _exit(127);
    }
    const int input = open("/dev/null", O_RDONLY);
    const int output = open("/dev/null", O_WRONLY);
    const int error = open(errorLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (input < 0 || output < 0 || error < 0 || dup2(input, STDIN_FILENO) < 0 ||
        dup2(output, STDOUT_FILENO) < 0 || dup2(error, STDERR_FILENO) < 0) {
        _exit(127);
    }
    execv(program.c_str(), pointers.data());
    _exit(127);
}

void StopChild(pid_t pid) {
    if (pid <= 0) {
        return;
    }
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

int RunChild(const std::vector<std::string>& argv) {
    const pid_t pid = StartChild(argv);
    if (pid < 0) {
        return -1;
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

}  // namespace qav::test::serial

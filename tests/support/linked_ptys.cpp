#include "linked_ptys.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "serial_child.h"

namespace qav::test::serial {

LinkedPtys::LinkedPtys() {
    char dir[] = "/tmp/qav-linked-ptys-XXXXXX";
    if (mkdtemp(dir) == nullptr) {
        throw std::runtime_error("cannot make a folder for the linked pseudo-terminals");
    }
    dir_ = dir;
    first_ = dir_ + "/first";
    second_ = dir_ + "/second";
    const std::string log = dir_ + "/socat.log";

    socat_ = StartChild(
        {"socat", "-d", "-d", "pty,rawer,echo=0,link=" + first_, "pty,rawer,echo=0,link=" + second_}, log);
    if (socat_ < 0) {
        rmdir(dir_.c_str());
        throw std::runtime_error("cannot start socat (is it installed?)");
    }

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    struct stat info {};
    while (stat(first_.c_str(), &info) != 0 || stat(second_.c_str(), &info) != 0) {
        int status = 0;
        const bool ended = waitpid(socat_, &status, WNOHANG) == socat_;
        if (ended || std::chrono::steady_clock::now() > deadline) {
            if (ended) {
                socat_ = -1;  // reaped already
            }
            Stop();
            throw std::runtime_error("socat did not make its pseudo-terminals");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    firstKeeper_ = open(first_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    secondKeeper_ = open(second_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

LinkedPtys::~LinkedPtys() {
    Stop();
}

void LinkedPtys::Stop() {
    if (firstKeeper_ >= 0) {
        close(firstKeeper_);
        firstKeeper_ = -1;
    }
    if (secondKeeper_ >= 0) {
        close(secondKeeper_);
        secondKeeper_ = -1;
    }
    StopChild(socat_);
    socat_ = -1;
    unlink(first_.c_str());
    unlink(second_.c_str());
    unlink((dir_ + "/socat.log").c_str());
    rmdir(dir_.c_str());
}

}  // namespace qav::test::serial

#include "pty_pair.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace qav::test {

PtyPair::PtyPair() {
    char name[256] = {};
    if (openpty(&master_, &slaveKeeper_, name, nullptr, nullptr) != 0) {
        throw std::runtime_error("cannot open a pseudo-terminal");
    }
    // The device side works in raw bytes too, or the line discipline would rewrite CR LF.
    termios tio{};
    tcgetattr(master_, &tio);
    cfmakeraw(&tio);
    tcsetattr(master_, TCSANOW, &tio);
    tcgetattr(slaveKeeper_, &tio);
    cfmakeraw(&tio);
    tcsetattr(slaveKeeper_, TCSANOW, &tio);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    // Child processes a test starts (helpers, peers) must not hold either side open.
    fcntl(master_, F_SETFD, FD_CLOEXEC);
    fcntl(slaveKeeper_, F_SETFD, FD_CLOEXEC);
    slavePath_ = name;
}

PtyPair::~PtyPair() {
    CloseMaster();
    close(slaveKeeper_);
}

void PtyPair::CloseMaster() {
    if (master_ >= 0) {
        close(master_);
        master_ = -1;
    }
}

std::vector<uint8_t> PtyPair::Receive(std::size_t size, std::chrono::milliseconds within) {
    std::vector<uint8_t> bytes;
    const auto deadline = std::chrono::steady_clock::now() + within;
    while (bytes.size() < size) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            break;
        }
        pollfd p{master_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0) {
            continue;
        }
        uint8_t chunk[256];
        const ssize_t n = read(master_, chunk, std::min(sizeof chunk, size - bytes.size()));
        if (n > 0) {
            bytes.insert(bytes.end(), chunk, chunk + n);
        }
    }
    return bytes;
}

void PtyPair::Send(const std::vector<uint8_t>& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = write(master_, bytes.data() + sent, bytes.size() - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            throw std::runtime_error("cannot write to the pseudo-terminal");
        }
    }
}

void PtyPair::Send(const std::string& text) {
    Send(std::vector<uint8_t>(text.begin(), text.end()));
}

void PtyPair::Drain() {
    uint8_t chunk[256];
    while (read(master_, chunk, sizeof chunk) > 0) {
    }
}

}  // namespace qav::test

#include "stop_signal.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace qav::sim {

StopSignal::StopSignal() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (fd_ < 0) {
        throw std::system_error(errno, std::generic_category(), "cannot create an event descriptor");
    }
}

StopSignal::~StopSignal() {
    close(fd_);
}

void StopSignal::Raise() {
    raised_ = true;
    // The counter stays non-zero, so every poller sees it readable.
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(fd_, &one, sizeof one);
}

bool StopSignal::Pause(std::chrono::nanoseconds duration) const {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    while (!Raised()) {
        const auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::nanoseconds{0}) {
            return true;
        }
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        const timespec timeout{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
        pollfd p{fd_, POLLIN, 0};
        ppoll(&p, 1, &timeout, nullptr);
    }
    return false;
}

}  // namespace qav::sim

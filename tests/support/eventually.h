// Waiting in a test for something another thread or process brings about.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace qav::test {

// True as soon as `done` holds, false when it still does not after `within`.
inline bool Eventually(const std::function<bool()>& done,
                       std::chrono::milliseconds within = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + within;
    while (std::chrono::steady_clock::now() < deadline) {
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

}  // namespace qav::test

// The polling thread: runs passes back to back while its running flag is set.
#pragma once

#include <atomic>
#include <memory>
#include <thread>

#include "poll_cycle.h"

namespace qav::monitor {

class Poller {
public:
    explicit Poller(const PollerDeps& deps) : deps_(deps) {}
    ~Poller();
    Poller(const Poller&) = delete;
    Poller& operator=(const Poller&) = delete;

    // Starts a fresh poller for the relay at `address` (a previous one is stopped first); its state starts
    // anew. False when the thread could not be started.
    bool Start(uint8_t address);
    // Asks the current poller to end after its current read; an older poller never affects a newer one.
    void RequestStop();
    // Waits for the thread to end; bounded once the link is closed, which cuts its read short.
    void Join();
    bool IsRunning() const;

private:
    void Run(std::shared_ptr<std::atomic<bool>> running, uint8_t address);

    PollerDeps deps_;
    std::shared_ptr<std::atomic<bool>> running_ = std::make_shared<std::atomic<bool>>(false);
    std::thread thread_;
};

}  // namespace qav::monitor

#include "poller.h"

#include <system_error>

namespace qav::monitor {

Poller::~Poller() {
    RequestStop();
    Join();
}

bool Poller::Start(uint8_t address) {
    RequestStop();
    Join();
    running_ = std::make_shared<std::atomic<bool>>(true);
    try {
        thread_ = std::thread(&Poller::Run, this, running_, address);
    } catch (const std::system_error&) {
        running_->store(false);
        return false;
    }
    return true;
}

void Poller::RequestStop() {
    running_->store(false);
}

void Poller::Join() {
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) {
        thread_.join();
    }
}

bool Poller::IsRunning() const {
    return running_->load();
}

void Poller::Run(std::shared_ptr<std::atomic<bool>> running, uint8_t address) {
    PollCycle cycle(deps_, address, *running, PollCycle::Clock::now());
    while (running->load()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        cycle.UpdateRate(PollCycle::Clock::now());
        if (!cycle.RunPass()) {
            break;
        }
    }
    running->store(false);
}

}  // namespace qav::monitor

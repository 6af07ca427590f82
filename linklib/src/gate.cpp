#include "gate.h"

#include <condition_variable>
#include <mutex>
#include <thread>

#include "QAV508DLL.h"
#include "link_state.h"

namespace qav::link {
namespace {

constexpr int kGateSize = 5;

// The gates and the bus as counters under one mutex. A generation number tells a waiter that the link it
// queued for was closed (and perhaps another opened) meanwhile: it then never touches the new counters.
struct Gates {
    std::mutex mutex;
    std::condition_variable changed;
    uint64_t generation = 0;
    bool exists = false;
    Transport transport{};
    int readers = 0;
    int writers = 0;
    int bus = 0;
    bool attemptRunning = false;
    std::thread::id attemptThread;
    uint64_t attemptGeneration = 0;
};

Gates& G() {
    static Gates gates;
    return gates;
}

// Waits until `counter` of the current generation has a free count and takes it.
bool Acquire(std::unique_lock<std::mutex>& lock, int Gates::*counter, uint64_t generation) {
    Gates& g = G();
    g.changed.wait(lock, [&] { return g.generation != generation || g.*counter > 0; });
    if (g.generation != generation) {
        return false;
    }
    --(g.*counter);
    return true;
}

}  // namespace

std::mutex& LinkLifecycle() {
    static std::mutex mutex;
    return mutex;
}

void BindLink(const Transport& transport) {
    Gates& g = G();
    std::lock_guard lock(g.mutex);
    ++g.generation;
    g.exists = true;
    g.transport = transport;
    g.readers = kGateSize;
    g.writers = kGateSize;
    g.bus = 1;
    g.changed.notify_all();
}

void UnbindLink() {
    Gates& g = G();
    std::unique_lock lock(g.mutex);
    const Transport old = g.transport;
    ++g.generation;
    g.exists = false;
    g.transport = {};
    g.changed.notify_all();
    if (!g.attemptRunning || g.attemptThread == std::this_thread::get_id()) {
        return;
    }
    lock.unlock();
    if (old.interrupt != nullptr) {
        old.interrupt();
    }
    lock.lock();
    g.changed.wait(lock, [&] { return !g.attemptRunning; });
}

bool LinkCancelled() {
    Gates& g = G();
    std::lock_guard lock(g.mutex);
    return g.generation != g.attemptGeneration;
}

int32_t Transact(const Request& request, Destination destination, int32_t retries) {
    Gates& g = G();
    const bool isRead = request.function == kReadHolding;
    int Gates::*gate = isRead ? &Gates::readers : &Gates::writers;

    std::unique_lock lock(g.mutex);
    if (!g.exists) {
        return MB_ERR_IO;
    }
    const uint64_t generation = g.generation;
    if (!Acquire(lock, gate, generation)) {
        return MB_ERR_IO;
    }
    if (!Acquire(lock, &Gates::bus, generation)) {
        return MB_ERR_IO;
    }

    // A negative count would retry a failing device for ever; it means no retries.
    int32_t remaining = retries < 0 ? 0 : retries;
    int32_t result = MB_ERR_IO;
    for (;;) {
        if (g.generation != generation) {
            return MB_ERR_IO;  // closed meanwhile: the counters we hold are gone with it
        }
        const Transport transport = g.transport;
        g.attemptRunning = true;
        g.attemptThread = std::this_thread::get_id();
        g.attemptGeneration = generation;
        lock.unlock();

        State().deviceError.store(0);
        result = isRead ? transport.read(request, destination) : transport.write(request);

        lock.lock();
        g.attemptRunning = false;
        g.changed.notify_all();
        if (remaining == 0 || result > 0) {
            break;
        }
        --remaining;
    }

    if (g.generation != generation) {
        return MB_ERR_IO;
    }
    ++g.bus;
    ++(g.*gate);
    g.changed.notify_all();
    return result;
}

}  // namespace qav::link

// The request gate: one link bound at a time, transactions from any thread strictly one at a time.
#pragma once

#include <cstdint>
#include <mutex>

#include "framing.h"

namespace qav::link {

// One attempt of a transaction on the bound link; returns a result code.
struct Transport {
    int32_t (*read)(const Request& request, Destination destination);
    int32_t (*write)(const Request& request);
    // Wakes an attempt in progress so that it notices LinkCancelled() promptly; may be null.
    void (*interrupt)();
};

// Held while a link is opened or closed: those take no bus lock, but must not interleave.
std::mutex& LinkLifecycle();

// Binds a transport and creates the gates (five readers, five writers, one bus).
void BindLink(const Transport& transport);

// Empties the slots and destroys the gates: callers waiting at a gate or at the bus return -100, and so do
// later calls until the next BindLink. Waits until an attempt in progress has ended, unless the calling
// thread is the one running it, so the transport may free its resources afterwards.
void UnbindLink();

// True inside an attempt once its link has been unbound: the attempt should end at once.
bool LinkCancelled();

// The transaction call: gate, bus, up to retries + 1 attempts, release.
int32_t Transact(const Request& request, Destination destination, int32_t retries);

}  // namespace qav::link

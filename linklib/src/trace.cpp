// The trace hook and its export.
#include "trace.h"

#include <atomic>
#include <mutex>

#include "QAV508DLL.h"

namespace qav::link::trace {
namespace {

// Constant-initialised, so the reports need no guard of a function-local static.
struct Hook {
    // The only cost of a report while no callback is set.
    std::atomic<bool> on{false};
    // Held around every call of the callback and around every change of it: a change waits until a call in
    // progress has returned, so no caller ever sees its context used after switching the hook off.
    std::mutex mutex;
    QAV_TraceCallback callback = nullptr;
    void* context = nullptr;
};

constinit Hook g_hook;

void Report(int32_t direction, const uint8_t* bytes, std::size_t size, int32_t result) {
    // Relaxed is enough: the mutex orders the callback and its context.
    if (!g_hook.on.load(std::memory_order_relaxed)) {
        return;
    }
    std::lock_guard lock(g_hook.mutex);
    if (g_hook.callback == nullptr) {
        return;
    }
    // The callback is the caller's code; nothing it throws may leave through the library.
    try {
        g_hook.callback(g_hook.context, direction, bytes, static_cast<int32_t>(size), result);
    } catch (...) {
    }
}

}  // namespace

void Sent(const uint8_t* bytes, std::size_t size) {
    Report(QAV_TRACE_SENT, bytes, size, 0);
}

void Received(const uint8_t* bytes, std::size_t size, int32_t result) {
    Report(QAV_TRACE_RECEIVED, bytes, size, result);
}

}  // namespace qav::link::trace

using qav::link::trace::g_hook;

extern "C" {

void DLL_SetTraceCallback(QAV_TraceCallback callback, void* context) {
    std::lock_guard lock(g_hook.mutex);
    g_hook.callback = callback;
    g_hook.context = callback == nullptr ? nullptr : context;
    g_hook.on.store(callback != nullptr, std::memory_order_relaxed);
}

}  // extern "C"

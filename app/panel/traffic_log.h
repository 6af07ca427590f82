// The Modbus traffic of the debug mode without a window: the link library's trace reports, kept in a bounded
// buffer that any thread fills and the user-interface thread drains, and the text of one report's line.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace qav::panel {

// One trace report: a request as sent, or the end of an attempt with the bytes received for it.
struct TrafficEntry {
    qint64 msecsSinceEpoch = 0;
    bool received = false;
    QByteArray bytes;
    int32_t result = 0;        // the attempt's result code; received entries only
    uint32_t deviceError = 0;  // the exception code of a -103 result
};

// "12:34:56.789 → 01 03 00 00 00 02 C4 0B": local time with milliseconds, direction, the bytes in hex. An
// ASCII frame (one that starts with ':' and holds only printable characters, CR and LF) also as its text.
// A received entry ends with its result code and the text the operator knows for it.
QString TrafficLine(const TrafficEntry& entry);

// The reports not yet shown. Appends never wait for the window: when it falls behind, the oldest reports
// go, so memory stays bounded however fast the link is.
class TrafficLog {
public:
    static constexpr std::size_t kDefaultCapacity = 5000;

    explicit TrafficLog(std::size_t capacity = kDefaultCapacity);
    TrafficLog(const TrafficLog&) = delete;
    TrafficLog& operator=(const TrafficLog&) = delete;

    std::size_t Capacity() const { return capacity_; }

    // From any thread.
    void Append(TrafficEntry entry);

    struct Batch {
        std::vector<TrafficEntry> entries;  // oldest first, at most Capacity()
        std::size_t dropped = 0;            // reports lost before these since the last Drain
    };
    // Takes everything pending.
    Batch Drain();

private:
    const std::size_t capacity_;
    std::mutex mutex_;
    std::deque<TrafficEntry> pending_;
    std::size_t dropped_ = 0;
};

// The link library's trace callback; `context` is a TrafficLog. It reads the device error of a -103 result
// at once, while the bus is still held.
void TrafficCallback(void* context, int32_t direction, const uint8_t* bytes, int32_t size, int32_t result);

// Feeds `log` with the link's trace reports for as long as it lives. One at a time: the library has a single
// hook, and the destructor switches it off.
class TrafficTap {
public:
    explicit TrafficTap(TrafficLog& log);
    ~TrafficTap();
    TrafficTap(const TrafficTap&) = delete;
    TrafficTap& operator=(const TrafficTap&) = delete;
};

}  // namespace qav::panel

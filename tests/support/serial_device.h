// A scripted Modbus device on the master side of a pseudo-terminal pair, on its own thread: it cuts what the
// library sends into requests (8 bytes in RTU, up to LF in ASCII), records every one, and answers each as the
// test scripts it: a reply, the reply in pieces with pauses, noise, or nothing.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "pty_pair.h"
#include "serial_frames.h"

namespace qav::test::serial {

// One part of an answer: sent after waiting `pause`.
struct Piece {
    Bytes bytes;
    std::chrono::milliseconds pause{0};
};

// What the device sends for one request; no pieces is silence.
using Answer = std::vector<Piece>;
using Responder = std::function<Answer(const Bytes& request)>;

// The whole of `bytes` at once.
Answer Send(Bytes bytes);
// `bytes` cut after each of the given sizes, every piece after `pause` (the first one too).
Answer InPieces(const Bytes& bytes, const std::vector<std::size_t>& sizes, std::chrono::milliseconds pause);
// `count` pieces of `bytes`, each after `pause`.
Answer Repeat(const Bytes& bytes, int count, std::chrono::milliseconds pause);
// Nothing at all.
Answer Silence();
// The register bank's well-formed reply in the request's framing (a read gets BankValue() for every
// register, a write its echo); silence for a request that does not decode.
Responder Bank(Framing framing);

class SerialDevice {
public:
    // Plays the device on `pty`'s master side; until scripted otherwise, every request gets Bank().
    SerialDevice(PtyPair& pty, Framing framing);
    ~SerialDevice();
    SerialDevice(const SerialDevice&) = delete;
    SerialDevice& operator=(const SerialDevice&) = delete;

    // Answers the next request not yet answered by an earlier scripted responder.
    void Then(Responder responder);
    // Answers every request the script does not cover.
    void SetDefault(Responder responder);

    std::vector<Bytes> Requests() const;
    std::size_t RequestCount() const;
    // True once `count` requests have arrived.
    bool WaitForRequests(std::size_t count, std::chrono::milliseconds within) const;

private:
    void Run();
    void Respond(const Bytes& request);
    // Waits for `pause` unless the device is stopping; false when it is.
    bool Pause(std::chrono::milliseconds pause);
    bool Write(const Bytes& bytes);

    PtyPair& pty_;
    Framing framing_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool stopping_ = false;
    std::deque<Responder> script_;
    Responder default_;
    std::vector<Bytes> requests_;
    std::thread thread_;
};

}  // namespace qav::test::serial

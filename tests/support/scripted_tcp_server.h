// A Modbus TCP peer on 127.0.0.1 that records every request and answers each as a test scripts it: a given
// reply, the reply in pieces with delays, stale frames first, nothing, or a closed connection.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace qav::test {

using Bytes = std::vector<uint8_t>;

// One part of an answer: sent after waiting `delay`.
struct Piece {
    Bytes bytes;
    std::chrono::milliseconds delay{0};
};

// What the server does with one request: sends the pieces in order, then closes the connection if asked.
// No pieces and no close is silence.
struct Answer {
    std::vector<Piece> pieces;
    bool close = false;
};

using Responder = std::function<Answer(const Bytes& request)>;

// Frame builders for answers. `request` is a 12-byte Modbus TCP request as the server received it.
uint16_t TransactionId(const Bytes& request);
uint8_t Unit(const Bytes& request);
uint16_t FirstRegister(const Bytes& request);
uint16_t RegisterCount(const Bytes& request);
// An MBAP frame: header with the length field set from the PDU, unit, PDU.
Bytes Frame(uint16_t transactionId, uint8_t unit, const Bytes& pdu);
// A read reply to `request` carrying `data` (byte count = data size).
Bytes ReadReply(const Bytes& request, const Bytes& data);
Bytes ExceptionReply(const Bytes& request, uint8_t code);
// The request echoed back, as a device answers a register write.
Bytes EchoReply(const Bytes& request);
// The value every register of the server's fake device holds: derived from its address, so that a reader
// can tell whose bytes it got.
uint16_t RegisterValue(uint16_t reg);
// A read reply with RegisterValue() for every requested register; an echo for a write.
Answer DeviceAnswer(const Bytes& request);
Answer Send(Bytes bytes);

class ScriptedTcpServer {
public:
    // Listens on an ephemeral port; until scripted otherwise, every request gets DeviceAnswer().
    ScriptedTcpServer();
    ~ScriptedTcpServer();
    ScriptedTcpServer(const ScriptedTcpServer&) = delete;
    ScriptedTcpServer& operator=(const ScriptedTcpServer&) = delete;

    uint16_t Port() const { return port_; }

    // Answers the next request not yet answered by an earlier scripted responder.
    void Then(Responder responder);
    // Answers every request the script does not cover.
    void SetDefault(Responder responder);

    std::vector<Bytes> Requests() const;
    std::size_t RequestCount() const;
    // True once `count` requests have arrived.
    bool WaitForRequests(std::size_t count, std::chrono::milliseconds within) const;
    // True once the client has connected `count` times.
    bool WaitForConnections(std::size_t count, std::chrono::milliseconds within) const;

private:
    void Run();
    void Serve(int connection);
    bool ReadExactly(int connection, uint8_t* out, std::size_t size);
    // Waits for `delay` unless the server is stopping; false when it is.
    bool Pause(std::chrono::milliseconds delay);

    int listener_ = -1;
    int wake_[2] = {-1, -1};  // written to stop the server out of poll()
    uint16_t port_ = 0;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool stopping_ = false;
    std::deque<Responder> script_;
    Responder default_;
    std::vector<Bytes> requests_;
    std::size_t connections_ = 0;
    std::thread thread_;
};

}  // namespace qav::test

// Modbus TCP server: several clients at once, each served by its own thread.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <list>
#include <mutex>
#include <string>
#include <thread>

#include "slave.h"
#include "stop_signal.h"

namespace qav::sim {

class TcpServer {
public:
    // Further clients are accepted and closed at once.
    static constexpr std::size_t kMaxConnections = 32;

    // With a baud rate, replies are paced as a gateway in front of the relay's RTU line would pace them.
    explicit TcpServer(Slave& slave, unsigned baud = 0);
    ~TcpServer();
    TcpServer(const TcpServer&) = delete;
    TcpServer& operator=(const TcpServer&) = delete;

    // Listens on a dotted-decimal IPv4 address; port 0 takes a free one. Returns the port. Throws
    // std::system_error when the address cannot be used.
    uint16_t Listen(const std::string& host, uint16_t port);
    void Start();
    void Stop();
    // Drops every client connection, as a gateway that loses its link would.
    void CloseConnections();
    std::size_t Connections() const;

private:
    struct Connection {
        int fd = -1;
        std::thread thread;
        std::atomic<bool> done{false};
    };

    void AcceptLoop();
    void Accept();
    void Reap();
    void Serve(Connection& connection);
    bool ServeFrames(int fd, uint8_t* buffer, std::size_t& size);

    Slave& slave_;
    unsigned baud_;
    StopSignal stop_;
    int listenFd_ = -1;
    std::thread acceptThread_;
    mutable std::mutex mutex_;  // guards the list and each connection's fd against CloseConnections
    std::list<Connection> connections_;
};

}  // namespace qav::sim

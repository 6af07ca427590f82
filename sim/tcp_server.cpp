#include "tcp_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "serial_framing.h"

namespace qav::sim {
namespace {

constexpr std::size_t kHeaderSize = 7;           // transaction, protocol, length, unit
constexpr std::size_t kMaxLength = 1 + kMaxPdu;  // the length field counts the unit and the PDU
constexpr std::size_t kMaxFrame = 6 + kMaxLength;

uint16_t Word(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

bool SendAll(int fd, const uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = send(fd, data, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

[[noreturn]] void Fail(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

TcpServer::TcpServer(Slave& slave, unsigned baud) : slave_(slave), baud_(baud) {}

TcpServer::~TcpServer() {
    Stop();
}

uint16_t TcpServer::Listen(const std::string& host, uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1) {
        errno = EINVAL;
        Fail("not a dotted-decimal IPv4 address");
    }
    listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) {
        Fail("cannot create a socket");
    }
    const int on = 1;
    setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (bind(listenFd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        Fail("cannot bind the TCP port");
    }
    if (listen(listenFd_, 16) != 0) {
        Fail("cannot listen on the TCP port");
    }
    socklen_t length = sizeof address;
    getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

void TcpServer::Start() {
    acceptThread_ = std::thread([this] { AcceptLoop(); });
}

void TcpServer::Stop() {
    stop_.Raise();
    if (acceptThread_.joinable()) {
        acceptThread_.join();
    }
    std::list<Connection> finished;
    {
        std::lock_guard lock(mutex_);
        finished.splice(finished.end(), connections_);
    }
    for (Connection& connection : finished) {
        connection.thread.join();
    }
    if (listenFd_ >= 0) {
        close(listenFd_);
        listenFd_ = -1;
    }
}

void TcpServer::CloseConnections() {
    std::lock_guard lock(mutex_);
    for (Connection& connection : connections_) {
        if (connection.fd >= 0) {
            shutdown(connection.fd, SHUT_RDWR);
        }
    }
}

std::size_t TcpServer::Connections() const {
    std::lock_guard lock(mutex_);
    std::size_t open = 0;
    for (const Connection& connection : connections_) {
        open += connection.done ? 0 : 1;
    }
    return open;
}

void TcpServer::AcceptLoop() {
    while (!stop_.Raised()) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {stop_.Fd(), POLLIN, 0}};
        // Wakes now and then to join the threads of closed connections.
        const int ready = poll(fds, 2, 500);
        Reap();
        if (ready > 0 && (fds[0].revents & POLLIN) && !stop_.Raised()) {
            Accept();
        }
    }
}

void TcpServer::Accept() {
    const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
        return;
    }
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    std::lock_guard lock(mutex_);
    if (connections_.size() >= kMaxConnections) {
        std::fprintf(stderr, "qav510-sim: too many TCP clients, connection refused\n");
        close(fd);
        return;
    }
    Connection& connection = connections_.emplace_back();
    connection.fd = fd;
    connection.thread = std::thread([this, &connection] { Serve(connection); });
}

void TcpServer::Reap() {
    std::list<Connection> finished;
    {
        std::lock_guard lock(mutex_);
        for (auto it = connections_.begin(); it != connections_.end();) {
            const auto next = std::next(it);
            if (it->done) {
                finished.splice(finished.end(), connections_, it);
            }
            it = next;
        }
    }
    for (Connection& connection : finished) {
        connection.thread.join();
    }
}

void TcpServer::Serve(Connection& connection) {
    const int fd = connection.fd;
    uint8_t buffer[kMaxFrame];
    std::size_t size = 0;
    for (;;) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {stop_.Fd(), POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR) {
            break;
        }
        if (stop_.Raised()) {
            break;
        }
        if (!(fds[0].revents & (POLLIN | POLLHUP | POLLERR))) {
            continue;
        }
        const ssize_t n = recv(fd, buffer + size, sizeof buffer - size, 0);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        size += static_cast<std::size_t>(n);
        if (!ServeFrames(fd, buffer, size)) {
            break;
        }
    }
    std::lock_guard lock(mutex_);
    close(connection.fd);
    connection.fd = -1;
    connection.done = true;
}

// Answers every complete frame in the buffer; false when the connection is to be closed.
bool TcpServer::ServeFrames(int fd, uint8_t* buffer, std::size_t& size) {
    Answer answer;
    uint8_t reply[kHeaderSize + kMaxPdu];
    while (size >= kHeaderSize) {
        const std::size_t length = Word(buffer + 4);
        if (length < 2 || length > kMaxLength) {
            return false;  // not Modbus: nothing to resynchronise on
        }
        const std::size_t frame = 6 + length;
        if (size < frame) {
            return true;
        }
        // Frames of another protocol than Modbus (identifier 0) are ignored.
        if (Word(buffer + 2) == 0) {
            slave_.Handle(Transport::kTcp, buffer[6], {buffer + kHeaderSize, length - 1}, answer);
            if (answer.kind == Answer::Kind::kClose) {
                return false;
            }
            if (answer.kind == Answer::Kind::kReply) {
                // Unit, PDU and CRC of the request and reply as the RTU line behind a gateway carries them.
                const auto line =
                    TransactionLineTime(length + 2, answer.pdu.size + 3, SerialMode::kRtu, baud_);
                if (!stop_.Pause(slave_.ResponseDelay() + line)) {
                    return false;
                }
                std::memcpy(reply, buffer, 4);  // transaction and protocol identifiers
                const std::size_t replyLength = 1 + answer.pdu.size;
                reply[4] = static_cast<uint8_t>(replyLength >> 8);
                reply[5] = static_cast<uint8_t>(replyLength);
                reply[6] = buffer[6];
                std::memcpy(reply + kHeaderSize, answer.pdu.bytes.data(), answer.pdu.size);
                if (!SendAll(fd, reply, kHeaderSize + answer.pdu.size)) {
                    return false;
                }
            }
        }
        std::memmove(buffer, buffer + frame, size - frame);
        size -= frame;
    }
    return true;
}

}  // namespace qav::sim

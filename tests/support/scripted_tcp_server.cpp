#include "scripted_tcp_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace qav::test {
namespace {

constexpr std::size_t kMbapPrefix = 6;  // transaction, protocol, length: the length counts what follows

uint16_t Word(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

void PutWord(Bytes& out, uint16_t word) {
    out.push_back(static_cast<uint8_t>(word >> 8));
    out.push_back(static_cast<uint8_t>(word));
}

}  // namespace

uint16_t TransactionId(const Bytes& request) {
    return Word(request.data());
}
uint8_t Unit(const Bytes& request) {
    return request.at(6);
}
uint16_t FirstRegister(const Bytes& request) {
    return Word(request.data() + 8);
}
uint16_t RegisterCount(const Bytes& request) {
    return Word(request.data() + 10);
}

Bytes Frame(uint16_t transactionId, uint8_t unit, const Bytes& pdu) {
    Bytes frame;
    PutWord(frame, transactionId);
    PutWord(frame, 0);
    PutWord(frame, static_cast<uint16_t>(pdu.size() + 1));
    frame.push_back(unit);
    frame.insert(frame.end(), pdu.begin(), pdu.end());
    return frame;
}

Bytes ReadReply(const Bytes& request, const Bytes& data) {
    Bytes pdu{0x03, static_cast<uint8_t>(data.size())};
    pdu.insert(pdu.end(), data.begin(), data.end());
    return Frame(TransactionId(request), Unit(request), pdu);
}

Bytes ExceptionReply(const Bytes& request, uint8_t code) {
    return Frame(TransactionId(request), Unit(request), {static_cast<uint8_t>(request.at(7) | 0x80), code});
}

Bytes EchoReply(const Bytes& request) {
    return request;
}

uint16_t RegisterValue(uint16_t reg) {
    return static_cast<uint16_t>(reg * 257u + 0x1234u);
}

Answer DeviceAnswer(const Bytes& request) {
    if (request.at(7) != 0x03) {
        return Send(EchoReply(request));
    }
    Bytes data;
    for (uint16_t i = 0; i < RegisterCount(request); ++i) {
        PutWord(data, RegisterValue(static_cast<uint16_t>(FirstRegister(request) + i)));
    }
    return Send(ReadReply(request, data));
}

Answer Send(Bytes bytes) {
    return Answer{{Piece{std::move(bytes)}}};
}

ScriptedTcpServer::ScriptedTcpServer() : default_(DeviceAnswer) {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        listen(listener_, 4) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0 ||
        pipe2(wake_, O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot listen on the loopback interface");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Run(); });
}

ScriptedTcpServer::~ScriptedTcpServer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    const uint8_t stop = 1;
    (void)!write(wake_[1], &stop, 1);
    thread_.join();
    close(listener_);
    close(wake_[0]);
    close(wake_[1]);
}

void ScriptedTcpServer::Then(Responder responder) {
    std::lock_guard lock(mutex_);
    script_.push_back(std::move(responder));
}

void ScriptedTcpServer::SetDefault(Responder responder) {
    std::lock_guard lock(mutex_);
    default_ = std::move(responder);
}

std::vector<Bytes> ScriptedTcpServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::size_t ScriptedTcpServer::RequestCount() const {
    std::lock_guard lock(mutex_);
    return requests_.size();
}

bool ScriptedTcpServer::WaitForRequests(std::size_t count, std::chrono::milliseconds within) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, within, [&] { return requests_.size() >= count; });
}

bool ScriptedTcpServer::WaitForConnections(std::size_t count, std::chrono::milliseconds within) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, within, [&] { return connections_ >= count; });
}

void ScriptedTcpServer::Run() {
    for (;;) {
        pollfd fds[2] = {{listener_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR) {
            return;
        }
        if (fds[1].revents != 0) {
            return;
        }
        if (fds[0].revents == 0) {
            continue;
        }
        const int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) {
            continue;
        }
        {
            std::lock_guard lock(mutex_);
            ++connections_;
        }
        changed_.notify_all();
        Serve(connection);
        close(connection);
    }
}

void ScriptedTcpServer::Serve(int connection) {
    for (;;) {
        Bytes request(kMbapPrefix);
        if (!ReadExactly(connection, request.data(), kMbapPrefix)) {
            return;
        }
        const std::size_t rest = Word(request.data() + 4);
        request.resize(kMbapPrefix + rest);
        if (rest == 0 || rest > 256 || !ReadExactly(connection, request.data() + kMbapPrefix, rest)) {
            return;
        }
        Responder responder;
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request);
            if (script_.empty()) {
                responder = default_;
            } else {
                responder = std::move(script_.front());
                script_.pop_front();
            }
        }
        changed_.notify_all();
        const Answer answer = responder(request);
        for (const Piece& piece : answer.pieces) {
            if (!Pause(piece.delay) || send(connection, piece.bytes.data(), piece.bytes.size(),
                                            MSG_NOSIGNAL) != static_cast<ssize_t>(piece.bytes.size())) {
                return;
            }
        }
        if (answer.close) {
            return;
        }
    }
}

bool ScriptedTcpServer::ReadExactly(int connection, uint8_t* out, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        pollfd fds[2] = {{connection, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (fds[1].revents != 0) {
            return false;
        }
        const ssize_t n = recv(connection, out + got, size - got, 0);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) {
                continue;
            }
            return false;
        }
        got += static_cast<std::size_t>(n);
    }
    return true;
}

bool ScriptedTcpServer::Pause(std::chrono::milliseconds delay) {
    std::unique_lock lock(mutex_);
    return !changed_.wait_for(lock, delay, [&] { return stopping_; });
}

}  // namespace qav::test
